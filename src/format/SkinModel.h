#pragma once
// The parsed skin: text items, picture positions, rectangle objects and the
// status-line setting, and the readers that fill them from the description lines.
#include "SkinFormat.h"
#include "SkinLines.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TSkiStr {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Anchor = 0;
    std::int32_t FontId = 0;
    std::int32_t StyleCode = 0;
    FontStyleSet FontStyle() const; // what StyleCode draws
    std::string Color;
    std::string Color2;
    bool operator==(const TSkiStr&) const = default;
};

struct TSkiObject {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t W = 0;
    std::int32_t H = 0;
    std::string Color;
    bool operator==(const TSkiObject&) const = default;
};

struct TPicturePos {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool operator==(const TPicturePos&) const = default;
};

struct TSkinModel {
    std::array<TSkiStr, TextItemCount> TextItems;
    std::array<TPicturePos, PictureCount> PicturePositions;
    std::array<TSkiObject, ObjectCount> SkinObjects;
    std::int32_t StatusLine = 0;
    bool operator==(const TSkinModel&) const = default;
};

// Style code to font style: 1 italic, 2 bold, 3 both, anything else plain.
FontStyleSet FontStyleFromCode(std::int32_t styleCode);

// Throw the lookup or number error of the first value that fails.
TSkiStr ReadSkiStr(const SkinLines& lines, const std::string& key);
TSkiObject ReadSkiObject(const SkinLines& lines, const std::string& key);

// Reads x, then y; a failure leaves that field and the ones after it as they were.
void ReadPicturePos(const SkinLines& lines, const std::string& key, TPicturePos& position);

// Fills model from lines in model order. On failure the entries read before the
// failing key keep their new values and the error propagates; returns normally
// only when every step ran to its end.
void ParseSkinInto(const SkinLines& lines, TSkinModel& model);

// A line replaced: its index and its text before.
struct ReplacedLine {
    int index = 0;
    std::string before;
};

// After the lines replaced, in a model that ParseSkinInto filled without failure from
// the lines as they were: reads again only the text items and objects whose line was
// replaced, each from its own line, as ParseSkinInto would. Returns false, having
// changed nothing, where a whole parse is needed instead: a replaced line joined or
// left a key, a picture's position or "StatusLine" reads it (a picture's position
// carries over to the pictures without a line), or a read failed.
bool ReparseReplacedLines(const SkinLines& lines, const std::vector<ReplacedLine>& replaced, TSkinModel& model);

// "Ruvex.rvk:7: "Artist": ", the start of a message about line index (0-based) of key,
// as check prints its problems (trailing blanks of the key left out).
std::string LineLocation(int index, const std::string& key);

// The key whose missing line stops ParseSkinInto with the list error: the first key
// it reads that has no line, pictures aside (they keep a position instead). Empty
// when every such key has a line.
std::string KeyWithoutLine(const SkinLines& lines);
