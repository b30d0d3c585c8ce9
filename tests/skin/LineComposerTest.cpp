#include "LineComposer.h"
#include "SkinError.h"
#include "TestSkin.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <random>

namespace {

ItemValues Text(int x, int y, int anchor, int font, int style, std::string color)
{
    ItemValues v;
    v.X = x; v.Y = y; v.Anchor = anchor; v.FontId = font; v.StyleCode = style; v.Color = std::move(color);
    return v;
}

ItemValues Object(int x, int y, int w, int h, std::string color)
{
    ItemValues v;
    v.X = x; v.Y = y; v.W = w; v.H = h; v.Color = std::move(color);
    return v;
}

ItemValues Picture(int x, int y)
{
    ItemValues v;
    v.X = x; v.Y = y;
    return v;
}

struct ComposeCase {
    SkinCategory category;
    const char* key;
    ItemValues values;
    const char* line;
};

class ComposingLines : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposingLines, WriteKeyOneBlankEqualsAndTheValues)
{
    const auto& c = GetParam();
    EXPECT_EQ(ComposeItemLine(c.category, c.key, c.values), c.line);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComposingLines, ::testing::Values(
    ComposeCase{SkinCategory::Strings, "Artist", Text(88, 40, 17, 2, 2, "0xFFFFFF00"),
                "Artist = 88 40 17 2 2 0xFFFFFF00 0x000000FF"},
    ComposeCase{SkinCategory::Strings, "Title ", Text(4, 60, 20, 1, 255, "0x00FF0000"),
                "Title = 4 60 20 1 255 0x00FF0000 0x000000FF"},
    ComposeCase{SkinCategory::Strings, "TrackNumber", Text(-3, 0, 36, 6, 255, "0xFF00"),
                "TrackNumber = -3 0 36 6 255 0xFF00 0x000000FF"},
    ComposeCase{SkinCategory::Pictures, "Play", Picture(70, 190), "Play = 70 190 20"},
    ComposeCase{SkinCategory::Objects, "ProgressBar", Object(10, 150, 156, 6, "0x00FF0000"),
                "ProgressBar = 10 150 156 6 0x00FF0000"},
    ComposeCase{SkinCategory::Objects, "Background", Object(0, 0, 176, 220, std::string("a\r\nb\0c", 6)),
                "Background = 0 0 176 220 abc"}),
    [](const auto& info) { return CaseName(info.index, info.param.line); });

TEST(StoringLines, ReplacesOnlyTheLastLineOfTheKey)
{
    SkinLines lines({"Play = 1 1 20 extra", "; Play comment", "Playlist = 5 5 20 1 255 0x0 0x0", "Play = 2 2 99 junk"});
    StoreItemLine(lines, SkinCategory::Pictures, "Play", Picture(70, 190));
    EXPECT_EQ(lines.Lines(), (std::vector<std::string>{"Play = 1 1 20 extra", "; Play comment",
                                                        "Playlist = 5 5 20 1 255 0x0 0x0", "Play = 70 190 20"}));
}

TEST(StoringLines, APlaylistLineAfterPlayIsNeverOverwrittenByThePlayPicture)
{
    SkinLines lines({"Play = 55 180 20", "Playlist = 172 20 24 1 255 0x10203000 0x000000FF"});
    StoreItemLine(lines, SkinCategory::Pictures, "Play", Picture(1, 2));
    EXPECT_EQ(lines.Line(0), "Play = 1 2 20");
    EXPECT_EQ(lines.Line(1), "Playlist = 172 20 24 1 255 0x10203000 0x000000FF");
}

TEST(StoringLines, AMissingKeyFailsWithTheListErrorAndChangesNothing)
{
    SkinLines lines({"Title= 1 2 20 1 255 0x0 0x0"});
    const auto before = lines.Lines();
    EXPECT_THROW(StoreItemLine(lines, SkinCategory::Strings, "Title ", Text(1, 1, 20, 1, 255, "0x0")), SkinError);
    EXPECT_EQ(lines.Lines(), before);
}

TEST(StoringLines, UntouchedLinesKeepEveryByteThroughManyEdits)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> byte(1, 255);
    std::vector<std::string> original = ReferenceSkinLines();
    for (int i = 0; i < 40; ++i) {
        std::string noise = "; ";
        for (int k = 0; k < 60; ++k) {
            const char c = static_cast<char>(byte(random));
            if (c != '\r' && c != '\n')
                noise += c;
        }
        original.insert(original.begin() + (i % static_cast<int>(original.size())), noise);
    }
    SkinLines lines(original);
    const int artist = lines.FindKey("Artist");
    const int volume = lines.FindKey("VolumeBar");
    for (int edit = 0; edit < 100; ++edit) {
        StoreItemLine(lines, SkinCategory::Strings, "Artist", Text(edit, 2, 17, 1, 255, "0x00000000"));
        StoreItemLine(lines, SkinCategory::Objects, "VolumeBar", Object(1, edit, 3, 4, "0x11223300"));
    }
    for (int i = 0; i < lines.Count(); ++i) {
        if (i != artist && i != volume) {
            EXPECT_EQ(lines.Line(i), original[static_cast<std::size_t>(i)]) << "line " << i;
        }
    }
    EXPECT_EQ(lines.Line(artist), "Artist = 99 2 17 1 255 0x00000000 0x000000FF");
}

} // namespace
