#pragma once
// A file copy that replaces its target safely: the bytes go to a temporary file in
// the target's folder, are flushed to disk, and the temporary file is renamed over
// the target. The target is therefore either the old file or the whole new one,
// never a truncated mix, and a failed copy leaves it as it was.
#include <QString>

// Copies source to target, replacing an existing target. Returns whether target now
// holds source's bytes; callers whose copies are allowed to fail silently may
// drop the result.
// - A copy onto the same file (the same device and inode, whatever the spelling of
//   the paths, hard links and symbolic links included) changes nothing and succeeds.
// - A missing or unreadable source, a folder that cannot be written, a full disk or
//   an exceeded file-size limit: false, target untouched, no temporary file left.
// - A new target gets the source's permission bits; a replaced one keeps its own.
// - A symbolic link as target is replaced by a regular file (the link's target is
//   not written through).
bool CopyFileReplacing(const QString& source, const QString& target);

// Whether the two paths name the same existing file (device and inode).
bool IsSameFile(const QString& first, const QString& second);
