#include "LineComposer.h"

#include "SkinError.h"


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

// The value a field takes from the editor, as it is written.
static std::string FieldText(FieldId field, const ItemValues& v)
{
    switch (field) {
    case FieldId::X: return std::to_string(v.X);
    case FieldId::Y: return std::to_string(v.Y);
    case FieldId::W: return std::to_string(v.W);
    case FieldId::H: return std::to_string(v.H);
    case FieldId::Anchor: return std::to_string(v.Anchor);
    case FieldId::FontId: return std::to_string(v.FontId);
    case FieldId::StyleCode: return std::to_string(v.StyleCode);
    case FieldId::Color: return OneLine(v.Color);
    case FieldId::SecondColor:
    case FieldId::Setting: break;
    }
    return {};
}

std::string ComposeItemLine(SkinCategory category, const std::string& key, const ItemValues& v)
{
    std::string line = key;
    if (line.empty() || line.back() != ' ')
        line += ' ';
    line += '=';
    for (const LineField& field : LineLayout(category)) {
        line += ' ';
        line += field.written != nullptr ? std::string(field.written) : FieldText(field.id, v);
    }
    return line;
}

void StoreItemLine(SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& values)
{
    lines.Replace(lines.FindKey(key), ComposeItemLine(category, key, values));
}
