#include "SkinModel.h"

#include "SkinError.h"
#include "SkinNumbers.h"

FontStyleSet FontStyleFromCode(std::int32_t styleCode)
{
    const TextStyle* style = StyleOfCode(styleCode);
    if (style == nullptr)
        return 0;
    return static_cast<FontStyleSet>((style->bold ? FontBold : 0) | (style->italic ? FontItalic : 0));
}

// A word that is no number says where it is, as check does ("Ruvex.rvk:7: "Artist":
// ..."), so the author can find the line; a key without a line keeps its own message.
static std::int32_t IntValue(const SkinLines& lines, const std::string& key, SkinCategory category, FieldId field)
{
    const std::string word = lines.Value(key, WordOf(category, field));
    try {
        return ParseSkinInt(word);
    } catch (const SkinError& error) {
        throw SkinError(LineLocation(lines.FindKey(key), key) + error.what());
    }
}

TSkiStr ReadSkiStr(const SkinLines& lines, const std::string& key)
{
    TSkiStr item;
    constexpr auto text = SkinCategory::Strings;
    item.X = IntValue(lines, key, text, FieldId::X);
    item.Y = IntValue(lines, key, text, FieldId::Y);
    item.Anchor = IntValue(lines, key, text, FieldId::Anchor);
    item.FontId = IntValue(lines, key, text, FieldId::FontId);
    item.StyleCode = IntValue(lines, key, text, FieldId::StyleCode);
    item.FontStyle = FontStyleFromCode(item.StyleCode);
    item.Color = lines.Value(key, WordOf(text, FieldId::Color));
    item.Color2 = lines.Value(key, WordOf(text, FieldId::SecondColor));
    return item;
}

TSkiObject ReadSkiObject(const SkinLines& lines, const std::string& key)
{
    TSkiObject object;
    constexpr auto objects = SkinCategory::Objects;
    object.X = IntValue(lines, key, objects, FieldId::X);
    object.Y = IntValue(lines, key, objects, FieldId::Y);
    object.W = IntValue(lines, key, objects, FieldId::W);
    object.H = IntValue(lines, key, objects, FieldId::H);
    object.Color = lines.Value(key, WordOf(objects, FieldId::Color));
    return object;
}

void ReadPicturePos(const SkinLines& lines, const std::string& key, TPicturePos& position)
{
    try {
        position.X = IntValue(lines, key, SkinCategory::Pictures, FieldId::X);
        position.Y = IntValue(lines, key, SkinCategory::Pictures, FieldId::Y);
    } catch (const SkinError&) {
        // A picture without a good position keeps what the caller's buffer held.
    }
}

void ParseSkinInto(const SkinLines& lines, TSkinModel& model)
{
    for (int i = 0; i < TextItemCount; ++i)
        model.TextItems[i] = ReadSkiStr(lines, TextItemKeys[i]);

    // One buffer for all pictures, not reset between keys: a picture without a
    // line takes the position read last.
    TPicturePos buffer;
    for (int i = 0; i < PictureCount; ++i) {
        ReadPicturePos(lines, PictureKeys[i], buffer);
        model.PicturePositions[i] = buffer;
    }

    for (int i = 0; i < ObjectCount; ++i)
        model.SkinObjects[i] = ReadSkiObject(lines, ObjectKeys[i]);

    model.StatusLine = IntValue(lines, StatusLineKey, SkinCategory::Settings, FieldId::Setting);
}

std::string LineLocation(int index, const std::string& key)
{
    std::string location = DescriptionFileName;
    location += ':';
    location += std::to_string(index + 1);
    location += ": \"";
    location += KeyName(key);
    location += "\": ";
    return location;
}

std::string KeyWithoutLine(const SkinLines& lines)
{
    // The order of ParseSkinInto.
    for (const char* key : TextItemKeys)
        if (lines.FindKey(key) < 0)
            return key;
    for (const char* key : ObjectKeys)
        if (lines.FindKey(key) < 0)
            return key;
    if (lines.FindKey(StatusLineKey) < 0)
        return StatusLineKey;
    return {};
}
