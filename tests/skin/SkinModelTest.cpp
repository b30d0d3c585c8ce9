#include "SkinDocument.h"
#include "SkinError.h"
#include "TestSkin.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

Lines Without(Lines lines, const std::string& key)
{
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::string& l) { return LineBelongsToKey(l, key); }),
                lines.end());
    return lines;
}

Lines Replaced(Lines lines, const std::string& key, const std::string& line)
{
    for (auto& l : lines)
        if (LineBelongsToKey(l, key))
            l = line;
    return lines;
}

void Parse(SkinDocument& doc, Lines lines)
{
    doc.Lines.Assign(std::move(lines));
    doc.ParseSkin();
}

std::string ParseError(SkinDocument& doc, Lines lines)
{
    doc.Lines.Assign(std::move(lines));
    try {
        doc.ParseSkin();
    } catch (const SkinError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ParseSkin, ReadsEveryElementOfTheReferenceLayout)
{
    SkinDocument doc;
    Parse(doc, ReferenceSkinLines());
    EXPECT_TRUE(doc.SkinLoaded);
    const TSkiStr& artist = doc.Model.TextItems[ArtistItem];
    EXPECT_EQ(artist, (TSkiStr{88, 40, 17, 2, 2, "0xFFFFFF00", "0x000000FF"}));
    EXPECT_EQ(artist.FontStyle(), FontBold);
    EXPECT_EQ(doc.Model.TextItems[AlbumItem].FontStyle(), FontItalic);
    EXPECT_EQ(doc.Model.TextItems[TimeItem].FontStyle(), FontBold | FontItalic);
    EXPECT_EQ(doc.Model.TextItems[TitleItem].X, 88);
    EXPECT_EQ(doc.Model.PicturePositions[PlayPos], (TPicturePos{55, 180}));
    EXPECT_EQ(doc.Model.SkinObjects[ProgressBarObject], (TSkiObject{10, 160, 156, 6, "0x00FF0000"}));
    EXPECT_EQ(doc.Model.StatusLine, 1);
}

TEST(ParseSkin, PicturesWithoutAGoodPositionShareTheBufferOfThePass)
{
    SkinDocument doc;
    Lines lines = Without(Without(ReferenceSkinLines(), "TitlePicture"), "Random");
    lines = Replaced(lines, "Pause", "Pause = 81 bad 20");
    lines = Replaced(lines, "Stop", "Stop = x 1 20");
    Parse(doc, lines);
    const auto& p = doc.Model.PicturePositions;
    EXPECT_EQ(p[TitlePicturePos], (TPicturePos{0, 0}));
    EXPECT_EQ(p[PausePos], (TPicturePos{81, 180}));   // own x, the earlier y
    EXPECT_EQ(p[StopPos], (TPicturePos{81, 180}));    // nothing of its own
    EXPECT_EQ(p[RandomPos], p[ForwardPos]);
}

TEST(ParseSkin, APlaylistLineIsNotMistakenForAMissingPlayLine)
{
    SkinDocument doc;
    Parse(doc, Without(ReferenceSkinLines(), "Play"));
    // With no Play line the buffer of the pass holds Backward's position.
    EXPECT_EQ(doc.Model.PicturePositions[PlayPos], doc.Model.PicturePositions[BackwardPos]);
}

TEST(ParseSkin, StyleCodesMapToFontStyles)
{
    SkinDocument doc;
    for (auto [code, style] : {std::pair{0, 0}, {255, 0}, {1, FontItalic}, {2, FontBold}, {3, FontBold | FontItalic}, {4, 0}}) {
        Parse(doc, Replaced(ReferenceSkinLines(), "Artist", "Artist = 1 2 20 1 " + std::to_string(code) + " 0x0"));
        EXPECT_EQ(doc.Model.TextItems[ArtistItem].FontStyle(), style) << code;
        EXPECT_EQ(doc.Model.TextItems[ArtistItem].StyleCode, code);
        EXPECT_EQ(doc.Model.TextItems[ArtistItem].Color2, "");
    }
}

TEST(ParseSkin, AFailureKeepsEarlierEntriesNewAndLaterOnesOld)
{
    SkinDocument doc;
    Parse(doc, ReferenceSkinLines());
    const TSkinModel before = doc.Model;

    Lines next = Replaced(ReferenceSkinLines(), "TrackNumber", "TrackNumber = 1 1 20 1 255 0x0 0x0");
    next = Replaced(next, "Album", "Album = 5 5 20 1");            // style code missing
    next = Replaced(next, "SoftLabel", "SoftLabel = 7 7 20 1 255 0x0 0x0");
    // The message says where, as check does: the line and the key.
    const int album = SkinLines(next).FindKey("Album") + 1;
    EXPECT_EQ(ParseError(doc, next), "Ruvex.rvk:" + std::to_string(album) + ": \"Album\": '' is not a valid integer value");
    EXPECT_EQ(doc.Model.TextItems[TrackNumberItem].X, 1);
    EXPECT_EQ(doc.Model.TextItems[AlbumItem], before.TextItems[AlbumItem]);
    EXPECT_EQ(doc.Model.TextItems[SoftLabelItem], before.TextItems[SoftLabelItem]);
    EXPECT_TRUE(doc.SkinLoaded);
}

TEST(ParseSkin, WithoutStatusLineEverythingElseIsReadButTheSkinIsNotLoaded)
{
    SkinDocument doc;
    Lines lines = Without(ReferenceSkinLines(), "StatusLine");
    EXPECT_EQ(ParseError(doc, lines), "List index out of bounds (-1)");
    EXPECT_FALSE(doc.SkinLoaded);
    EXPECT_EQ(doc.Model.SkinObjects[VolumeBarObject].W, 50);
    EXPECT_EQ(doc.Model.StatusLine, 0);

    Parse(doc, Replaced(ReferenceSkinLines(), "StatusLine", "StatusLine = 2"));
    EXPECT_EQ(ParseError(doc, lines), "List index out of bounds (-1)");
    EXPECT_TRUE(doc.SkinLoaded);
    EXPECT_EQ(doc.Model.StatusLine, 2);
}

// vellumark-skin names this key when a parse stops at the list error: it must be
// the key the parse stopped at, so the first missing one in parse order, pictures aside.
TEST(ParseSkin, KeyWithoutLineIsTheKeyTheParseStopsAt)
{
    const struct {
        std::vector<std::string> removed;
        std::string expected;
    } cases[] = {
        {{}, ""},
        {{"Play"}, ""},
        {{"Play", "Background"}, "Background"},
        {{"StatusLine", "Album"}, "Album"},
        {{"Title ", "StatusLine"}, "Title "},
        {{"StatusLine"}, "StatusLine"},
    };
    for (const auto& c : cases) {
        Lines lines = ReferenceSkinLines();
        for (const std::string& key : c.removed)
            lines = Without(lines, key);
        SkinLines skinLines(lines);
        EXPECT_EQ(KeyWithoutLine(skinLines), c.expected) << c.expected;
        SkinDocument doc;
        EXPECT_EQ(ParseError(doc, lines), c.expected.empty() ? "no error" : "List index out of bounds (-1)") << c.expected;
    }
}

TEST(ParseSkin, AnEmptyFileStopsAtTheFirstKeyBeforeChangingAnything)
{
    SkinDocument doc;
    EXPECT_EQ(ParseError(doc, {}), "List index out of bounds (-1)");
    EXPECT_EQ(doc.Model, TSkinModel{});
    EXPECT_FALSE(doc.SkinLoaded);
}

TEST(StoreItem, RewritesTheLineAndParsesAgain)
{
    SkinDocument doc;
    Parse(doc, ReferenceSkinLines());
    ItemValues v;
    v.X = 70;
    v.Y = 190;
    doc.StoreItem(SkinCategory::Pictures, "Play", v);
    EXPECT_EQ(doc.Lines.Line(doc.Lines.FindKey("Play")), "Play = 70 190 20");
    EXPECT_EQ(doc.Model.PicturePositions[PlayPos], (TPicturePos{70, 190}));
}

} // namespace
