#include "TextLines.h"

TextLines SplitTextLines(std::string_view bytes)
{
    const auto nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    TextLines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::optional<TextCut> FindTextCut(std::string_view bytes)
{
    const auto nul = bytes.find('\0');
    if (nul == std::string_view::npos)
        return std::nullopt;
    TextCut cut{1, bytes.size() - nul - 1};
    for (std::size_t i = 0; i < nul; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= nul || bytes[i + 1] != '\n')))
            ++cut.line;
    }
    return cut;
}

std::string JoinTextLines(const TextLines& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}
