#include "SkinModel.h"

#include "SkinError.h"
#include "SkinNumbers.h"

const std::array<const char*, TextItemCount> TextItemKeys = {
    "TrackNumber", "Playlist", "Artist", "Title ", "Album", "Time ", "TimeCurrent", "TimeElapsed", "SoftLabel"};
const std::array<const char*, PictureCount> PictureKeys = {
    "TitlePicture", "SoftPicture", "Backward", "Play", "Pause", "Stop", "Forward", "Random", "RepetitionOne", "RepetitionAll"};
const std::array<const char*, ObjectCount> ObjectKeys = {"Background", "ProgressBar", "VolumeBar"};

FontStyleSet FontStyleFromCode(std::int32_t styleCode)
{
    switch (styleCode) {
    case 1: return FontItalic;
    case 2: return FontBold;
    case 3: return FontBold | FontItalic;
    default: return 0;
    }
}

static std::int32_t IntValue(const SkinLines& lines, const std::string& key, std::size_t n)
{
    return ParseSkinInt(lines.Value(key, n));
}

TSkiStr ReadSkiStr(const SkinLines& lines, const std::string& key)
{
    TSkiStr item;
    item.X = IntValue(lines, key, 1);
    item.Y = IntValue(lines, key, 2);
    item.Anchor = IntValue(lines, key, 3);
    item.FontId = IntValue(lines, key, 4);
    item.StyleCode = IntValue(lines, key, 5);
    item.FontStyle = FontStyleFromCode(item.StyleCode);
    item.Color = lines.Value(key, 6);
    item.Color2 = lines.Value(key, 7);
    return item;
}

TSkiObject ReadSkiObject(const SkinLines& lines, const std::string& key)
{
    TSkiObject object;
    object.X = IntValue(lines, key, 1);
    object.Y = IntValue(lines, key, 2);
    object.W = IntValue(lines, key, 3);
    object.H = IntValue(lines, key, 4);
    object.Color = lines.Value(key, 5);
    return object;
}

void ReadPicturePos(const SkinLines& lines, const std::string& key, TPicturePos& position)
{
    try {
        position.X = IntValue(lines, key, 1);
        position.Y = IntValue(lines, key, 2);
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

    model.StatusLine = IntValue(lines, StatusLineKey, 1);
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
