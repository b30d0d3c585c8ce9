// The property editor's write-back round trip on any file: one element, chosen by
// the input, read as the editor shows it and written back twice (as shown, and with
// a typed colour that may hold line breaks and NULs). Only the key's line changes,
// the line count stays, the values read back, every key keeps its line, and the
// file still reads back as the same lines. Only SkinError may escape.
#include "SkinFuzzSupport.h"

#include <cstdint>

namespace {

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
        case SkinCategory::Settings: break; // never written back
        }
    } catch (const SkinError&) {
        try {
            values.Color = lines.Value(key, WordOf(category, FieldId::Color));
        } catch (const SkinError&) {
        }
    }
    return values;
}

// What the stored line reads back as: the numbers and, when it is one word, the colour.
void CheckReadBack(const SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& v)
{
    const bool oneWordColor = !v.Color.empty() && !HasDelimiter(v.Color);
    switch (category) {
    case SkinCategory::Strings: {
        const TSkiStr item = ReadSkiStr(lines, key);
        FUZZ_REQUIRE(item.X == v.X && item.Y == v.Y && item.Anchor == v.Anchor);
        FUZZ_REQUIRE(item.FontId == v.FontId && item.StyleCode == v.StyleCode);
        if (oneWordColor)
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
        if (oneWordColor)
            FUZZ_REQUIRE(object.Color == v.Color);
        break;
    }
    case SkinCategory::Settings: break;
    }
}

// One write-back: only the key's last line changes, the line count stays, and the
// values read back.
void CheckStore(SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& values)
{
    const int index = lines.FindKey(key);
    const int count = lines.Count();
    const std::string before = index >= 0 ? lines.Line(index) : std::string();
    const int neighbour = index > 0 ? index - 1 : (index + 1 < count ? index + 1 : -1);
    const std::string neighbourBefore = neighbour >= 0 ? lines.Line(neighbour) : std::string();
    try {
        StoreItemLine(lines, category, key, values);
    } catch (const SkinError&) {
        FUZZ_REQUIRE(index == -1);
        return;
    }
    FUZZ_REQUIRE(index >= 0);
    FUZZ_REQUIRE(lines.Count() == count);
    if (neighbour >= 0)
        FUZZ_REQUIRE(lines.Line(neighbour) == neighbourBefore);
    FUZZ_REQUIRE(lines.Line(index) == ComposeItemLine(category, key, values));
    CheckReadBack(lines, category, key, values);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const unsigned choice = input.Take();
    const unsigned typedLength = input.Take() % 25;
    // The typed colour is the input's next bytes; the rest is the file.
    const std::string typed(input.bytes.substr(0, typedLength));
    input.bytes.remove_prefix(std::min<std::size_t>(typedLength, input.bytes.size()));

    struct Element {
        SkinCategory category;
        const char* key;
    };
    static const std::vector<Element> editable = [] {
        std::vector<Element> all;
        for (const char* key : TextItemKeys)
            all.push_back({SkinCategory::Strings, key});
        for (const char* key : PictureKeys)
            all.push_back({SkinCategory::Pictures, key});
        for (const char* key : ObjectKeys)
            all.push_back({SkinCategory::Objects, key});
        return all;
    }();
    const Element element = editable[choice % editable.size()];
    const std::string key(element.key);

    SkinLines lines(SplitTextLines(input.bytes));
    const std::vector<int> found = FoundLines(lines);
    ItemValues values = ShownValues(lines, element.category, key);
    CheckStore(lines, element.category, key, values);
    values.Color = typed;
    FUZZ_REQUIRE(!HasLineBreakOrNul(ComposeItemLine(element.category, key, values)));
    CheckStore(lines, element.category, key, values);

    FUZZ_REQUIRE(FoundLines(lines) == found);
    FUZZ_REQUIRE(FoundLines(SkinLines(lines.Lines())) == found);
    CheckLines(lines.Lines());
    return 0;
}
