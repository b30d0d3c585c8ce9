#pragma once
// Whole text files as 8-bit lines, written with CR LF and replaced atomically.
// Every file the programs read goes through ReadFileBytes, which reads only regular
// files of a bounded size, so a pipe, a device or an endless file cannot hang or
// exhaust them.
#include "TextLines.h"

#include <QString>

#include <cstddef>
#include <string>

// The most bytes a description file (or the sample texts) may have.
inline constexpr std::size_t MaxTextFileBytes = std::size_t{1} << 20;
// The most bytes a picture file may have.
inline constexpr std::size_t MaxPictureFileBytes = std::size_t{16} << 20;

// The whole file, when it is a regular file (after following links) of at most
// limit bytes; the size is checked before anything is read. Throws
// "Cannot open file "%s". %s" with the full path and the system's reason, or the
// kind of file that is not a regular one, or the limit it passes.
std::string ReadFileBytes(const QString& path, std::size_t limit);

// Reads with MaxTextFileBytes; throws as ReadFileBytes.
TextLines ReadTextLines(const QString& path);

// Throws "Cannot create file "%s". %s" with the system's reason; on failure the
// old file is left as it was.
void WriteTextLines(const QString& path, const TextLines& lines);
