#pragma once
// How the property editor's lists show the codes of a text item's line (font id,
// style code, anchor) and which code each entry writes back. The two directions are
// not inverse for every code, so each has its own function.
#include "SkinFormat.h"

#include <array>
#include <cstdint>
#include <optional>

// The fonts the list offers: each entry and the font id it writes, in list order.
struct FontChoice {
    const char* entry;
    std::int32_t id;
};
inline constexpr std::array<FontChoice, 6> FontChoices = {
    {{"Font01", 1}, {"Font02", 2}, {"Font06", 6}, {"Font08", 8}, {"Font0A", 10}, {"Font0C", 12}}};

// Entries of the lists, in list order.
inline constexpr std::array<const char*, FontChoices.size()> FontEntries = {
    FontChoices[0].entry, FontChoices[1].entry, FontChoices[2].entry,
    FontChoices[3].entry, FontChoices[4].entry, FontChoices[5].entry};
inline constexpr std::array<const char*, TextStyles.size()> StyleEntries = {
    TextStyles[0].name, TextStyles[1].name, TextStyles[2].name, TextStyles[3].name};
inline constexpr std::array<const char*, 2> VerticalEntries = {"BOTTOM", "TOP"};             // XPos
inline constexpr std::array<const char*, 3> HorizontalEntries = {"RIGHT", "LEFT", "HCENTER"}; // YPos

// The code an entry writes; index -1 (no entry) or any other index writes 0.
std::int32_t FontIdOfEntry(int entry);
std::int32_t StyleCodeOfEntry(int entry);
// The sum of the vertical part (XPos) and the horizontal part (YPos).
std::int32_t AnchorOfEntries(int vertical, int horizontal);

// The entry that shows a font id; nothing for an id without one (the list keeps its entry).
std::optional<int> FontEntryOfId(std::int32_t fontId);
// The entry that shows a style code: codes other than 1, 2 and 3 show as "PLAIN".
int StyleEntryOfCode(std::int32_t styleCode);

struct AnchorEntries {
    int vertical;
    int horizontal;
    bool operator==(const AnchorEntries&) const = default;
};
// The entries that show an anchor: vertical part 64 shows as "TOP"; the anchors
// with vertical part 2 and every unknown value give nothing (both lists keep theirs).
std::optional<AnchorEntries> AnchorEntriesOf(std::int32_t anchor);

// The codes the property editor writes back for a text item whose line holds these
// codes, once its lists show them: each code as its entry writes it, and a code the
// lists cannot show as their first entries (what lists that showed nothing else hold).
struct ListedCodes {
    std::int32_t anchor;
    std::int32_t fontId;
    std::int32_t styleCode;
    bool operator==(const ListedCodes&) const = default;
};
ListedCodes CodesAsListed(std::int32_t anchor, std::int32_t fontId, std::int32_t styleCode);
