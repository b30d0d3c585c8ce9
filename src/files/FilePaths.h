#pragma once
// Paths as messages show them and as the command line gives them, and why a path
// that is not a regular file is neither read nor replaced.
#include <QString>

#include <string>
#include <sys/types.h>

// Full path as shown in messages.
std::string DisplayPath(const QString& path);

// The skin a path names, as the editor's commands and the command line take one: a
// folder is itself, any other path the folder it lies in; the description is that
// folder's Ruvex.rvk whatever name the path ends in. Full paths.
struct SkinPath {
    QString folder;
    QString description;
};
SkinPath SkinPathOf(const QString& path);

// "Cannot open file "…". reason": why a file to be read cannot be.
std::string OpenFileError(const QString& path, const std::string& reason);

// A file name given as bytes (a command-line argument) as a path the program can
// open: decoded as Qt decodes file names, or, when those bytes are not valid in the
// locale's encoding (and so would not survive decoding), the same file reached
// through /proc/self/fd.
QString FileNameFromBytes(const char* bytes);

// "It is a named pipe, not a regular file", "It is a device, not a regular file"...
std::string FileKindReason(mode_t mode);

// Whether a folder has an entry of that name: a link that leads nowhere (or into a
// loop) counts, and its reading tells why it cannot be read.
bool EntryExists(const QString& path);
