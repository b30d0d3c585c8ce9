#pragma once
// Whole text files as 8-bit lines: read split at CR LF, LF or CR (a NUL ends the
// text), written with CR LF after every line and replaced atomically. Every file the
// programs read goes through ReadFileBytes, which reads only regular files of a
// bounded size, so a pipe, a device or an endless file cannot hang or exhaust them.
#include <QString>

#include <cstddef>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <string>
#include <vector>

using TextLines = std::vector<std::string>;

// The most bytes a description file (or the sample texts) may have.
inline constexpr std::size_t MaxTextFileBytes = std::size_t{1} << 20;
// The most bytes a picture file may have.
inline constexpr std::size_t MaxPictureFileBytes = std::size_t{16} << 20;

// Splits raw file bytes into lines by the rules above.
TextLines SplitTextLines(std::string_view bytes);

// Where a NUL byte ended a text: the 1-based line it stands on, and how many bytes
// followed it, left out of the lines and so never written back.
struct TextCut {
    int line = 0;
    std::size_t ignoredBytes = 0;
    bool operator==(const TextCut&) const = default;
};

// The cut of raw file bytes; nothing when they hold no NUL.
std::optional<TextCut> FindTextCut(std::string_view bytes);

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

// "1 MiB", "16 MiB", "512 KiB" or "N bytes": a limit as messages show it.
std::string SizeText(std::size_t bytes);

// A file name given as bytes (a command-line argument) as a path the program can
// open: decoded as Qt decodes file names, or, when those bytes are not valid in the
// locale's encoding (and so would not survive decoding), the same file reached
// through /proc/self/fd.
QString FileNameFromBytes(const char* bytes);

// Why a file that is not a regular one is neither read nor replaced: "It is a
// named pipe, not a regular file", "It is a device, not a regular file"...
std::string FileKindReason(mode_t mode);

// Full path as shown in messages.
std::string DisplayPath(const QString& path);
