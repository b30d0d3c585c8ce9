#include "LineComposer.h"

#include "SkinError.h"

#include <initializer_list>

// A line break or NUL inside a value would split the line when the file is read again.
static std::string OneLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c != '\r' && c != '\n' && c != '\0')
            out += c;
    }
    return out;
}

// Each word after one blank. Appended piece by piece: g++ 12 at -O3 warns falsely
// (-Wrestrict) on " " + std::to_string(...).
static void AppendWords(std::string& line, std::initializer_list<std::string> words)
{
    for (const std::string& word : words) {
        line += ' ';
        line += word;
    }
}

std::string ComposeItemLine(SkinCategory category, const std::string& key, const ItemValues& v)
{
    std::string line = key;
    if (line.empty() || line.back() != ' ')
        line += ' ';
    line += "= " + std::to_string(v.X) + " " + std::to_string(v.Y);
    switch (category) {
    case SkinCategory::Strings:
        AppendWords(line, {std::to_string(v.Anchor), std::to_string(v.FontId), std::to_string(v.StyleCode),
                           OneLine(v.Color), "0x000000FF"});
        break;
    case SkinCategory::Pictures:
        line += " 20";
        break;
    case SkinCategory::Objects:
        AppendWords(line, {std::to_string(v.W), std::to_string(v.H), OneLine(v.Color)});
        break;
    }
    return line;
}

void StoreItemLine(SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& values)
{
    lines.Replace(lines.FindKey(key), ComposeItemLine(category, key, values));
}
