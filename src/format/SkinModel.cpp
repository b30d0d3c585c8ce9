#include "SkinModel.h"

#include "SkinError.h"
#include "SkinNumbers.h"

#include <algorithm>
#include <span>

FontStyleSet FontStyleFromCode(std::int32_t styleCode)
{
    const TextStyle* style = StyleOfCode(styleCode);
    return style == nullptr ? FontStyleSet{0} : style->style;
}

FontStyleSet TSkiStr::FontStyle() const
{
    return FontStyleFromCode(StyleCode);
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

bool ReparseReplacedLines(const SkinLines& lines, const std::vector<ReplacedLine>& replaced, TSkinModel& model)
{
    const auto sameKeys = [&](const ReplacedLine& line, const char* key) {
        return LineBelongsToKey(line.before, key) == LineBelongsToKey(lines.Line(line.index), key);
    };
    const auto read = [&](const char* key) {
        const int index = lines.FindKey(key);
        return std::any_of(replaced.begin(), replaced.end(), [&](const ReplacedLine& line) { return line.index == index; });
    };
    for (const ReplacedLine& line : replaced) {
        if (line.index < 0 || line.index >= lines.Count() || !sameKeys(line, StatusLineKey))
            return false;
        for (const auto& keys : {std::span<const char* const>(TextItemKeys), std::span<const char* const>(PictureKeys),
                                 std::span<const char* const>(ObjectKeys)})
            if (!std::all_of(keys.begin(), keys.end(), [&](const char* key) { return sameKeys(line, key); }))
                return false;
    }
    if (read(StatusLineKey) || std::any_of(PictureKeys.begin(), PictureKeys.end(), read))
        return false;
    // Read whole before any is kept: a failure leaves the model as it was.
    std::vector<std::pair<int, TSkiStr>> items;
    std::vector<std::pair<int, TSkiObject>> objects;
    try {
        for (int i = 0; i < TextItemCount; ++i)
            if (read(TextItemKeys[i]))
                items.emplace_back(i, ReadSkiStr(lines, TextItemKeys[i]));
        for (int i = 0; i < ObjectCount; ++i)
            if (read(ObjectKeys[i]))
                objects.emplace_back(i, ReadSkiObject(lines, ObjectKeys[i]));
    } catch (const SkinError&) {
        return false;
    }
    for (auto& [i, item] : items)
        model.TextItems[static_cast<std::size_t>(i)] = std::move(item);
    for (auto& [i, object] : objects)
        model.SkinObjects[static_cast<std::size_t>(i)] = std::move(object);
    return true;
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
