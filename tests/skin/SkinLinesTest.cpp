#include "SkinError.h"
#include "SkinLines.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct KeyCase {
    const char* line;
    const char* key;
    bool belongs;
};

class KeyMatching : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMatching, DecidesWhichKeyALineBelongsTo)
{
    const auto& c = GetParam();
    EXPECT_EQ(LineBelongsToKey(c.line, c.key), c.belongs) << '"' << c.line << "\" / \"" << c.key << '"';
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyMatching, ::testing::Values(
    KeyCase{"Play = 70 190 20", "Play", true},
    KeyCase{"Play=70 190", "Play", true},
    KeyCase{"Play\t= 1 2", "Play", true},
    KeyCase{"Play", "Play", true},
    KeyCase{"Playlist = 1 2 20 1 255 0x0 0x0", "Play", false},
    KeyCase{"Playlist = 1 2 20 1 255 0x0 0x0", "Playlist", true},
    KeyCase{"play = 1 2 20", "Play", false},
    KeyCase{"Pla", "Play", false},
    KeyCase{"Title = 4 60", "Title ", true},
    KeyCase{"Title= 4 60", "Title ", false},
    KeyCase{"TitlePicture = 0 0 20", "Title ", false},
    KeyCase{"TitlePicture = 0 0 20", "TitlePicture", true},
    KeyCase{"Time = 1", "Time ", true},
    KeyCase{"TimeCurrent = 1", "Time ", false},
    KeyCase{"Stop and think", "Stop", true},
    KeyCase{"StopWatch = 1", "Stop", false}),
    [](const auto& info) { return CaseName(info.index, std::string(info.param.line) + " " + info.param.key); });

SkinLines Sample()
{
    return SkinLines({"Artist = 88 40 17 2 2 0xFFFFFF00 0x000000FF", "Play=70 190", "StatusLine =1",
                      "NoEquals 5 6", "Album = 1\t\t2   3", "Album = 9 9"});
}

TEST(SkinValue, ReadsTheValueWordsOfTheKeysLine)
{
    const SkinLines lines = Sample();
    EXPECT_EQ(lines.Value("Artist", 1), "88");
    EXPECT_EQ(lines.Value("Artist", 3), "17");
    EXPECT_EQ(lines.Value("Artist", 6), "0xFFFFFF00");
    EXPECT_EQ(lines.Value("Artist", 8), "");
}

TEST(SkinValue, AlwaysSkipsTheCharacterAfterTheEqualsSign)
{
    const SkinLines lines = Sample();
    EXPECT_EQ(lines.Value("Play", 1), "0");
    EXPECT_EQ(lines.Value("Play", 2), "190");
    EXPECT_EQ(lines.Value("StatusLine", 1), "");
    // Without "=", the value text starts at the line's second character.
    EXPECT_EQ(lines.Value("NoEquals", 1), "oEquals");
}

TEST(SkinValue, TheLastLineOfAKeyWins)
{
    EXPECT_EQ(Sample().Value("Album", 1), "9");
    EXPECT_EQ(Sample().FindKey("Album"), 5);
}

TEST(SkinValue, AMissingKeyRaisesTheListErrorForMinusOne)
{
    for (const SkinLines& lines : {Sample(), SkinLines()}) {
        EXPECT_EQ(lines.FindKey("Random"), -1);
        try {
            lines.Value("Random", 1);
            FAIL();
        } catch (const SkinError& e) {
            EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
        }
    }
}

TEST(SkinValue, TabsAndRepeatedBlanksSeparateLikeOne)
{
    EXPECT_EQ(SkinLines({"Album = 1\t\t2   3"}).Value("Album", 3), "3");
    EXPECT_EQ(SkinLines({"Album =    7"}).Value("Album", 1), "7");
}

// Lookups remember each key's line; Replace and Assign must keep that true.
TEST(SkinLinesIndex, FollowsReplacementsThatAddMoveOrRemoveAKeysLine)
{
    SkinLines lines({"Play = 1 2 20", "; comment", "Stop = 3 4 20", "Play = 5 6 20", "Random = 7 8 20"});
    EXPECT_EQ(lines.FindKey("Play"), 3);
    EXPECT_EQ(lines.FindKey("Pause"), -1);
    lines.Replace(3, "; no longer Play");           // the last line of Play goes: the earlier one counts
    EXPECT_EQ(lines.FindKey("Play"), 0);
    EXPECT_EQ(lines.Value("Play", 1), "1");
    lines.Replace(1, "Pause = 9 9 20");              // a key without a line gets one
    EXPECT_EQ(lines.FindKey("Pause"), 1);
    lines.Replace(4, "Play = 10 11 20");             // a later line of Play takes over
    EXPECT_EQ(lines.FindKey("Play"), 4);
    EXPECT_EQ(lines.FindKey("Random"), -1);
    lines.Replace(0, "Play = 12 13 20");             // an earlier line changes nothing
    EXPECT_EQ(lines.FindKey("Play"), 4);
    lines.Assign({"Random = 1 1 20"});
    EXPECT_EQ(lines.FindKey("Play"), -1);
    EXPECT_EQ(lines.FindKey("Random"), 0);
}

TEST(SkinLinesIndex, AgreesWithAFreshLookupAfterAnyReplacements)
{
    const std::vector<std::string> keys = {"Play", "Playlist", "Title ", "TitlePicture", "Stop", "Time "};
    const std::vector<std::string> pool = {"Play = 1 2 20", "Playlist = 3 4 20 1 255 0x0 0x0", "Title = 1",
                                           "TitlePicture = 0 0 20", "Stop and think", "Time = 5", "; comment",
                                           "", "Title= 2", "Play"};
    std::mt19937 random(9);
    SkinLines lines(std::vector<std::string>(12, "; comment"));
    for (int round = 0; round < 2000; ++round) {
        const auto& key = keys[random() % keys.size()];
        if (round % 3 == 0)
            lines.Replace(static_cast<int>(random() % 12), pool[random() % pool.size()]);
        ASSERT_EQ(lines.FindKey(key), SkinLines(lines.Lines()).FindKey(key)) << "round " << round << " key " << key;
    }
}

} // namespace
