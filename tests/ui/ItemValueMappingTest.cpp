#include "ItemValueMapping.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(ItemValueMapping, EachEntryWritesItsCodeAndNoEntryWritesZero)
{
    for (int entry : {-1, static_cast<int>(FontChoices.size())})
        EXPECT_EQ(FontIdOfEntry(entry), 0) << entry;

    const std::vector<std::pair<int, std::int32_t>> styles = {{0, 255}, {1, 1}, {2, 2}, {3, 3}, {-1, 0}, {4, 0}};
    for (const auto& [entry, code] : styles)
        EXPECT_EQ(StyleCodeOfEntry(entry), code) << entry;

    // XPos: BOTTOM, TOP; YPos: RIGHT, LEFT, HCENTER.
    const std::vector<std::tuple<int, int, std::int32_t>> anchors = {
        {0, 0, 40}, {0, 1, 36}, {0, 2, 33}, {1, 0, 24}, {1, 1, 20}, {1, 2, 17},
        {-1, 2, 1}, {1, -1, 16}, {-1, -1, 0}, {2, 3, 0}};
    for (const auto& [vertical, horizontal, anchor] : anchors)
        EXPECT_EQ(AnchorOfEntries(vertical, horizontal), anchor) << vertical << "," << horizontal;
}

TEST(ItemValueMapping, UnknownFontIdsLeaveTheListAndUnknownStyleCodesShowAsPlain)
{
    for (std::int32_t id : {0, 3, 4, 5, 7, 9, 11, 13, 14, 255, -1, -10})
        EXPECT_EQ(FontEntryOfId(id), std::nullopt) << id;
    const std::vector<std::pair<std::int32_t, int>> shown = {{255, 0}, {1, 1}, {2, 2}, {3, 3}, {0, 0}, {4, 0}, {-1, 0}, {256, 0}};
    for (const auto& [code, entry] : shown)
        EXPECT_EQ(StyleEntryOfCode(code), entry) << code;
}

TEST(ItemValueMapping, AnchorsShowAsTheirListEntriesWithSixtyFourLikeTop)
{
    const std::vector<std::pair<std::int32_t, std::optional<AnchorEntries>>> shown = {
        {17, AnchorEntries{1, 2}}, {20, AnchorEntries{1, 1}}, {24, AnchorEntries{1, 0}},
        {33, AnchorEntries{0, 2}}, {36, AnchorEntries{0, 1}}, {40, AnchorEntries{0, 0}},
        {65, AnchorEntries{1, 2}}, {68, AnchorEntries{1, 1}}, {72, AnchorEntries{1, 0}},
        // Vertical part 2 and values that are no valid anchor: the lists keep theirs.
        {3, std::nullopt}, {6, std::nullopt}, {10, std::nullopt}, {0, std::nullopt}, {16, std::nullopt},
        {1, std::nullopt}, {49, std::nullopt}, {80, std::nullopt}, {28, std::nullopt}, {273, std::nullopt},
        {-15, std::nullopt}, {-47, std::nullopt}};
    for (const auto& [anchor, entries] : shown)
        EXPECT_EQ(AnchorEntriesOf(anchor), entries) << anchor;
}

TEST(ItemValueMapping, WhatAnEntryWritesIsShownAsThatEntryAgain)
{
    for (int entry = 0; entry < static_cast<int>(FontEntries.size()); ++entry)
        EXPECT_EQ(FontEntryOfId(FontIdOfEntry(entry)), entry);
    for (int entry = 0; entry < static_cast<int>(StyleEntries.size()); ++entry)
        EXPECT_EQ(StyleEntryOfCode(StyleCodeOfEntry(entry)), entry);
    for (int v = 0; v < static_cast<int>(VerticalEntries.size()); ++v)
        for (int h = 0; h < static_cast<int>(HorizontalEntries.size()); ++h)
            EXPECT_EQ(AnchorEntriesOf(AnchorOfEntries(v, h)), (AnchorEntries{v, h}));
}
