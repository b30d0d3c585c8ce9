#pragma once
// Whole text files as 8-bit lines: read split at CR LF, LF or CR (a NUL ends the
// text), written with CR LF after every line and replaced atomically.
#include <QString>
#include <string>
#include <vector>

using TextLines = std::vector<std::string>;

// Splits raw file bytes into lines by the rules above.
TextLines SplitTextLines(std::string_view bytes);

// The whole file. Throws "Cannot open file "%s". %s" with the full path and the
// system's reason.
std::string ReadFileBytes(const QString& path);

// Throws as ReadFileBytes.
TextLines ReadTextLines(const QString& path);

// Throws "Cannot create file "%s". %s"; on failure the old file is left as it was.
void WriteTextLines(const QString& path, const TextLines& lines);

// Replaces the file with bytes atomically; throws and keeps the old file as WriteTextLines.
void WriteFileBytes(const QString& path, const std::string& bytes);

// Full path as shown in messages.
std::string DisplayPath(const QString& path);
