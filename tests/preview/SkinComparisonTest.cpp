// Two skins compared: the rows name the element and field or the picture that
// differs, a palette change is told as one, and the looks that differ are exactly
// those that draw what changed.
#include "SkinComparison.h"

#include "GifWriter.h"
#include "SkinLoader.h"
#include "TestSkin.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

SkinDocument Loaded(const TestSkin& skin)
{
    SkinDocument document;
    document.LangLines = {"03/12", "List", "Artist", "Title", "Album", "3:45", "1:02", "-2:43", "Menu", "Back"};
    LoadSkin(document, skin.DescriptionPath());
    return document;
}

SkinComparison Compared(const SkinDocument& a, const SkinDocument& b)
{
    const PreviewSettings volume{0, 0, /*volumeShown*/ true, /*volumeLevel*/ 5};
    SkinLooks looksA, looksB;
    looksA.Draw(a, a.LangLines, volume);
    looksB.Draw(b, b.LangLines, volume);
    SkinComparison comparison;
    CompareSkins(a, looksA, b, looksB, comparison);
    return comparison;
}

std::vector<std::string> Texts(const SkinComparison& comparison, DifferenceKind kind)
{
    std::vector<std::string> texts;
    for (const SkinDifference& row : comparison.rows)
        if (row.kind == kind)
            texts.push_back(row.text.toStdString());
    return texts;
}

// A 4x3 picture of two colours, index 1 in its middle row.
GifSpec TwoColors(QRgb outer, QRgb middle)
{
    GifSpec gif = SolidGif(4, 3, outer);
    gif.palette = {outer, middle, qRgb(1, 2, 3), qRgb(4, 5, 6)};
    gif.pixels = {0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0};
    return gif;
}

class SkinComparisonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        a_.WriteComplete();
        b_.WriteComplete();
    }
    TestSkin a_;
    TestSkin b_;
};

TEST_F(SkinComparisonTest, LinesAreNamedByElementAndField)
{
    std::vector<std::string> lines = SkinWith({"Artist = 101 40 17 2 2 0xFFFFFF00 0x000000FF",
                                               "Title = 88 56 17 2 255 0xFF880000 0x000000FF"});
    lines[10] = "; a note of B's"; // in place of "; Pictures: ..."
    b_.WriteDescription(lines);
    const SkinComparison comparison = Compared(Loaded(a_), Loaded(b_));
    EXPECT_EQ(Texts(comparison, DifferenceKind::Line),
              (std::vector<std::string>{"Artist: X 88 \u2192 101", "Title: colour #00FF00 \u2192 #FF8800",
                                        "Line only in A: \"; Pictures:  x  y  (a_v|a_h) \"",
                                        "Line only in B: \"; a note of B's\""}));
    EXPECT_TRUE(Texts(comparison, DifferenceKind::Picture).empty());
    EXPECT_FALSE(Texts(comparison, DifferenceKind::Look).empty());
    EXPECT_EQ(comparison.rows.front().key, "Artist");

    const SkinComparison same = Compared(Loaded(a_), Loaded(a_));
    EXPECT_TRUE(same.Same());
    for (const LookDifference& look : same.looks)
        EXPECT_EQ(look.changed, 0);
}

TEST_F(SkinComparisonTest, PicturesAreToldByPaletteSizeOrPixels)
{
    WriteGifFile(a_.Path("3.gif"), TwoColors(qRgb(10, 10, 10), qRgb(200, 0, 0)));
    WriteGifFile(b_.Path("3.gif"), TwoColors(qRgb(10, 10, 10), qRgb(0, 0, 200)));
    WriteGifFile(b_.Path("8.gif"), SolidGif(5, 3, TestPictureColor(8)));
    GifSpec dotted = SolidGif(4, 3, TestPictureColor(12));
    dotted.palette[1] = qRgb(1, 1, 1);
    dotted.pixels[5] = 1;
    WriteGifFile(b_.Path("12.gif"), dotted);
    EXPECT_EQ(Texts(Compared(Loaded(a_), Loaded(b_)), DifferenceKind::Picture),
              (std::vector<std::string>{"3.gif: palette only (1 entry)", "8.gif: 4\u00d73 \u2192 5\u00d73",
                                        "12.gif: 1 pixel changed"}));
}

TEST_F(SkinComparisonTest, APictureOnlySomeLooksDrawDiffersInThoseLooksAlone)
{
    // 9.gif, Pause enabled: drawn by the two pause looks only, one row each.
    GifSpec pause = SolidGif(4, 3, qRgb(0, 0, 0));
    pause.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    pause.pixels.assign(12, 0);
    pause.pixels[0] = 1;
    pause.transparentIndex = 1; // one pixel B leaves to the background
    WriteGifFile(b_.Path("9.gif"), pause);
    const SkinComparison comparison = Compared(Loaded(a_), Loaded(b_));
    for (int look = 0; look < LookCount; ++look) {
        const LookDifference& difference = comparison.looks[static_cast<std::size_t>(look)];
        if (look % 5 == 2) {
            EXPECT_EQ(difference.changed, 12) << look;
            EXPECT_EQ(difference.removed, 1) << look;
            EXPECT_EQ(difference.bounds, QRect(80, 180, 4, 3)) << look;
        } else {
            EXPECT_EQ(difference.changed, 0) << look;
        }
    }
    EXPECT_EQ(Texts(comparison, DifferenceKind::Look),
              (std::vector<std::string>{"pause / one: 12 pixels differ (0 added, 1 removed)",
                                        "pause / all: 12 pixels differ (0 added, 1 removed)"}));
    // The marked look: B faded where the same, the mark colours where not.
    const QRect pauseOne = SheetLayout().PreviewRect(2, 0);
    EXPECT_EQ(comparison.marked.pixel(pauseOne.topLeft() + QPoint(80, 180)), RemovedMark);
    EXPECT_EQ(comparison.marked.pixel(pauseOne.topLeft() + QPoint(81, 180)), ChangedMark);
    const QRect playOne = SheetLayout().PreviewRect(1, 0);
    EXPECT_NE(comparison.marked.pixel(playOne.topLeft() + QPoint(80, 180)), ChangedMark);
}

} // namespace
