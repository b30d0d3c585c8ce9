#include "ItemValueMapping.h"

namespace {

// Codes written by each entry, in list order.
constexpr std::array<std::int32_t, FontChoices.size()> FontIds = {
    FontChoices[0].id, FontChoices[1].id, FontChoices[2].id, FontChoices[3].id, FontChoices[4].id, FontChoices[5].id};
constexpr std::array<std::int32_t, StyleEntries.size()> StyleCodes = {
    TextStyles[0].code, TextStyles[1].code, TextStyles[2].code, TextStyles[3].code};
constexpr std::array<std::int32_t, VerticalEntries.size()> VerticalParts = {AnchorBottom, AnchorTop};
constexpr std::array<std::int32_t, HorizontalEntries.size()> HorizontalParts = {AnchorRight, AnchorLeft, AnchorHCenter};

// The flag that places text like TOP is shown (and written back) as TOP.
constexpr int TopEntry = 1;

template <std::size_t N>
std::int32_t CodeOf(const std::array<std::int32_t, N>& codes, int entry)
{
    return entry >= 0 && static_cast<std::size_t>(entry) < N ? codes[static_cast<std::size_t>(entry)] : 0;
}

template <std::size_t N>
std::optional<int> EntryOf(const std::array<std::int32_t, N>& codes, std::int32_t code)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (codes[i] == code)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

} // namespace

std::int32_t FontIdOfEntry(int entry)
{
    return CodeOf(FontIds, entry);
}

std::int32_t StyleCodeOfEntry(int entry)
{
    return CodeOf(StyleCodes, entry);
}

std::int32_t AnchorOfEntries(int vertical, int horizontal)
{
    return CodeOf(VerticalParts, vertical) + CodeOf(HorizontalParts, horizontal);
}

std::optional<int> FontEntryOfId(std::int32_t fontId)
{
    return EntryOf(FontIds, fontId);
}

int StyleEntryOfCode(std::int32_t styleCode)
{
    // 255 is PLAIN, and so is every code the lists do not know (0 included).
    return EntryOf(StyleCodes, styleCode).value_or(0);
}

std::optional<AnchorEntries> AnchorEntriesOf(std::int32_t anchor)
{
    const std::int32_t vertical = anchor & ~0xF;
    const auto horizontal = EntryOf(HorizontalParts, anchor & 0xF);
    if (!horizontal)
        return std::nullopt;
    if (vertical == AnchorTopLike)
        return AnchorEntries{TopEntry, *horizontal};
    if (const auto entry = EntryOf(VerticalParts, vertical))
        return AnchorEntries{*entry, *horizontal};
    return std::nullopt;
}

ListedCodes CodesAsListed(std::int32_t anchor, std::int32_t fontId, std::int32_t styleCode)
{
    const AnchorEntries entries = AnchorEntriesOf(anchor).value_or(AnchorEntries{0, 0});
    return ListedCodes{AnchorOfEntries(entries.vertical, entries.horizontal),
                       FontIdOfEntry(FontEntryOfId(fontId).value_or(0)), StyleCodeOfEntry(StyleEntryOfCode(styleCode))};
}
