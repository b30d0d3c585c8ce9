#pragma once
// A file copy that replaces its target safely (see ReplacementFile.h): the target
// is either the old file or the whole new one, never a truncated mix, and a failed
// copy leaves it as it was.
#include <QString>

// Copies source to target, replacing an existing target. Returns whether target now
// holds source's bytes; callers whose copies are allowed to fail silently may
// drop the result.
// - The source is read as every picture is (ReadFileBytes with MaxPictureFileBytes):
//   a named pipe, a device or a larger file is not copied.
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

// The permission bits of an existing file, or -1.
int FileMode(const QString& path);
