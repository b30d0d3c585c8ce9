// Arbitrary bytes as a skin description file, through everything the editor does
// with one: splitting into lines, every value word of every key, a full parse, and
// for every editable element the round trip of the property editor (read the
// element, compose its line, put it in place). Only SkinError may escape the
// operations; the invariants below must hold for any input.
#include "FuzzCheck.h"

#include "LineComposer.h"
#include "SkinError.h"
#include "SkinLines.h"
#include "SkinModel.h"
#include "SkinNumbers.h"
#include "TextFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> AllKeys()
{
    std::vector<std::string> keys(TextItemKeys.begin(), TextItemKeys.end());
    keys.insert(keys.end(), PictureKeys.begin(), PictureKeys.end());
    keys.insert(keys.end(), ObjectKeys.begin(), ObjectKeys.end());
    keys.emplace_back(StatusLineKey);
    return keys;
}

const std::vector<std::string>& Keys()
{
    static const std::vector<std::string> keys = AllKeys();
    return keys;
}

std::string JoinCrLf(const TextLines& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool HasDelimiter(std::string_view word)
{
    for (char c : word) {
        if (SkinDelimiters().test(static_cast<unsigned char>(c)))
            return true;
    }
    return false;
}

// A file that is written and read again gives the same lines.
void CheckLines(const TextLines& lines)
{
    for (const auto& line : lines)
        FUZZ_REQUIRE(!HasLineBreakOrNul(line));
    FUZZ_REQUIRE(SplitTextLines(JoinCrLf(lines)) == lines);
}

// Value words: none holds a delimiter, each lies in the key's line, and once a word
// is missing every later one is too. A key without a line throws the list error.
void CheckValues(const SkinLines& lines)
{
    for (const auto& key : Keys()) {
        const int index = lines.FindKey(key);
        FUZZ_REQUIRE(index >= -1 && index < lines.Count());
        bool missing = false;
        for (std::size_t n = 1; n <= 8; ++n) {
            std::optional<std::string> word;
            try {
                word = lines.Value(key, n);
            } catch (const SkinError&) {
            }
            FUZZ_REQUIRE(word.has_value() == (index >= 0));
            if (!word)
                break;
            FUZZ_REQUIRE(!HasDelimiter(*word));
            FUZZ_REQUIRE(lines.Line(index).find(*word) != std::string::npos);
            FUZZ_REQUIRE(!missing || word->empty());
            missing = word->empty();
        }
    }
}

// A complete parse agrees with reading each element on its own.
void CheckParse(const SkinLines& lines)
{
    TSkinModel model;
    try {
        ParseSkinInto(lines, model);
    } catch (const SkinError&) {
        return;
    }
    TPicturePos buffer;
    for (int i = 0; i < TextItemCount; ++i) {
        const TSkiStr& item = model.TextItems[static_cast<std::size_t>(i)];
        FUZZ_REQUIRE(item == ReadSkiStr(lines, TextItemKeys[static_cast<std::size_t>(i)]));
        FUZZ_REQUIRE(item.FontStyle == FontStyleFromCode(item.StyleCode));
    }
    for (int i = 0; i < PictureCount; ++i) {
        ReadPicturePos(lines, PictureKeys[static_cast<std::size_t>(i)], buffer);
        FUZZ_REQUIRE(model.PicturePositions[static_cast<std::size_t>(i)] == buffer);
    }
    for (int i = 0; i < ObjectCount; ++i)
        FUZZ_REQUIRE(model.SkinObjects[static_cast<std::size_t>(i)] == ReadSkiObject(lines, ObjectKeys[static_cast<std::size_t>(i)]));
    FUZZ_REQUIRE(model.StatusLine == ParseSkinInt(lines.Value(StatusLineKey, 1)));
}

// The values the property editor would show for a key: its reading where that
// succeeds, otherwise zeros and the raw colour word as the colour field's text.
ItemValues ShownValues(const SkinLines& lines, SkinCategory category, const std::string& key)
{
    ItemValues values;
    try {
        switch (category) {
        case SkinCategory::Strings: {
            const TSkiStr item = ReadSkiStr(lines, key);
            values.X = item.X; values.Y = item.Y; values.Anchor = item.Anchor;
            values.FontId = item.FontId; values.StyleCode = item.StyleCode; values.Color = item.Color;
            break;
        }
        case SkinCategory::Pictures: {
            TPicturePos position;
            ReadPicturePos(lines, key, position);
            values.X = position.X; values.Y = position.Y;
            break;
        }
        case SkinCategory::Objects: {
            const TSkiObject object = ReadSkiObject(lines, key);
            values.X = object.X; values.Y = object.Y; values.W = object.W; values.H = object.H;
            values.Color = object.Color;
            break;
        }
        }
    } catch (const SkinError&) {
        try {
            values.Color = lines.Value(key, category == SkinCategory::Objects ? 5 : 6);
        } catch (const SkinError&) {
        }
    }
    return values;
}

// What the stored line reads back as: the numbers and, when it is one word, the colour.
void CheckReadBack(const SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& v)
{
    const bool oneWordColour = !v.Color.empty() && !HasDelimiter(v.Color);
    switch (category) {
    case SkinCategory::Strings: {
        const TSkiStr item = ReadSkiStr(lines, key);
        FUZZ_REQUIRE(item.X == v.X && item.Y == v.Y && item.Anchor == v.Anchor);
        FUZZ_REQUIRE(item.FontId == v.FontId && item.StyleCode == v.StyleCode);
        if (oneWordColour)
            FUZZ_REQUIRE(item.Color == v.Color && item.Color2 == "0x000000FF");
        break;
    }
    case SkinCategory::Pictures: {
        TPicturePos position{v.X ^ 1, v.Y ^ 1};
        ReadPicturePos(lines, key, position);
        FUZZ_REQUIRE(position.X == v.X && position.Y == v.Y);
        FUZZ_REQUIRE(lines.Value(key, 3) == "20" && lines.Value(key, 4).empty());
        break;
    }
    case SkinCategory::Objects: {
        const TSkiObject object = ReadSkiObject(lines, key);
        FUZZ_REQUIRE(object.X == v.X && object.Y == v.Y && object.W == v.W && object.H == v.H);
        if (oneWordColour)
            FUZZ_REQUIRE(object.Color == v.Color);
        break;
    }
    }
}

std::vector<int> FoundLines(const SkinLines& lines)
{
    std::vector<int> found;
    for (const auto& key : Keys())
        found.push_back(lines.FindKey(key));
    return found;
}

// One write-back of the property editor: only the key's last line changes, the
// line count stays, and the values read back.
void CheckStore(SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& values)
{
    const std::vector<std::string> before = lines.Lines();
    const int index = lines.FindKey(key);
    try {
        StoreItemLine(lines, category, key, values);
    } catch (const SkinError&) {
        FUZZ_REQUIRE(index == -1);
        FUZZ_REQUIRE(lines.Lines() == before);
        return;
    }
    FUZZ_REQUIRE(index >= 0);
    FUZZ_REQUIRE(lines.Count() == static_cast<int>(before.size()));
    for (int i = 0; i < lines.Count(); ++i) {
        if (i != index)
            FUZZ_REQUIRE(lines.Line(i) == before[static_cast<std::size_t>(i)]);
    }
    FUZZ_REQUIRE(lines.Line(index) == ComposeItemLine(category, key, values));
    CheckReadBack(lines, category, key, values);
}

// Every editable element written back twice: as shown, and with a typed colour.
// Afterwards every key still has its line where it had it, and the file still
// reads back as the same lines.
void StoreEveryElement(SkinLines& lines, std::string_view raw)
{
    const std::vector<int> found = FoundLines(lines);
    struct Group {
        SkinCategory category;
        std::vector<std::string> keys;
    };
    const Group groups[] = {
        {SkinCategory::Strings, {TextItemKeys.begin(), TextItemKeys.end()}},
        {SkinCategory::Pictures, {PictureKeys.begin(), PictureKeys.end()}},
        {SkinCategory::Objects, {ObjectKeys.begin(), ObjectKeys.end()}},
    };
    // The colour field's text is written as typed: try the input's first bytes too,
    // line breaks and NULs included, which must never split the line.
    const std::string typed(raw.substr(0, 24));
    for (const auto& group : groups) {
        for (const auto& key : group.keys) {
            ItemValues values = ShownValues(lines, group.category, key);
            CheckStore(lines, group.category, key, values);
            values.Color = typed;
            FUZZ_REQUIRE(!HasLineBreakOrNul(ComposeItemLine(group.category, key, values)));
            CheckStore(lines, group.category, key, values);
        }
    }
    FUZZ_REQUIRE(FoundLines(lines) == found);
    // The lines each key was found at, kept up by the replacements, agree with a
    // fresh lookup.
    FUZZ_REQUIRE(FoundLines(SkinLines(lines.Lines())) == found);
    CheckLines(lines.Lines());
}

// Replacements with any text (one line of the file put in place of another) keep
// every key's line the one a fresh lookup finds.
void CheckReplacements(SkinLines& lines)
{
    const int count = lines.Count();
    for (int i = 0; i < count && i < 16; ++i) {
        lines.Replace(i, std::string(lines.Line((i * 5 + 1) % count)));
        FUZZ_REQUIRE(FoundLines(lines) == FoundLines(SkinLines(lines.Lines())));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TextLines split = SplitTextLines(bytes);
    CheckLines(split);

    SkinLines lines;
    lines.Assign(split);
    CheckValues(lines);
    CheckParse(lines);

    StoreEveryElement(lines, bytes);
    CheckValues(lines);
    CheckParse(lines);

    CheckReplacements(lines);
    CheckValues(lines);
    return 0;
}
