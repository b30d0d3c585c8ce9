#pragma once
// A whole text as 8-bit lines: split at CR LF, LF or CR (a NUL ends the text) and
// joined with CR LF after every line, as the player's files are written.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using TextLines = std::vector<std::string>;

// Splits raw file bytes into lines by the rules above.
TextLines SplitTextLines(std::string_view bytes);

// The bytes of lines, each followed by CR LF.
std::string JoinTextLines(const TextLines& lines);

// Where a NUL byte ended a text: the 1-based line it stands on, and how many bytes
// followed it, left out of the lines and so never written back.
struct TextCut {
    int line = 0;
    std::size_t ignoredBytes = 0;
    bool operator==(const TextCut&) const = default;
};

// The cut of raw file bytes; nothing when they hold no NUL.
std::optional<TextCut> FindTextCut(std::string_view bytes);
