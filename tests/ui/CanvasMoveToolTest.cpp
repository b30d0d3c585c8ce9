// The canvas's geometry, move tool, snapping and arranging without a widget:
// positions as a view on a scaled screen hands them over, the skin changed through
// the session.
#include "CanvasArrange.h"
#include "CanvasGeometry.h"
#include "CanvasMoveTool.h"

#include "TestSession.h"
#include "TestSkin.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class CanvasMoveToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        skin.WriteComplete();
        session->Open(skin.DescriptionPath());
    }

    std::string Line(const std::string& key) const
    {
        const SkinLines& lines = session->Document().Lines;
        return lines.Line(lines.FindKey(key));
    }
    // A drag by the mouse from skin pixel `from` (a little inside it) by `by`
    // viewport pixels; released unless told.
    void Drag(const MoveTarget& target, QPoint from, QPointF by, bool release = true)
    {
        const QPointF press = geometry.ViewportPointOf(from) + QPointF(0.5, 0.5);
        tool.Press({target}, press, geometry.SkinPointAt(press));
        tool.Move(press + QPointF(1, 0), geometry.SkinPointAt(press + QPointF(1, 0)), false); // within the drag distance
        tool.Move(press + by, geometry.SkinPointAt(press + by), false);
        if (release)
            tool.Release();
    }

    QRect Drawn(const std::string& key) const
    {
        for (const DrawnElement& element : session->DrawnElements())
            if (element.key == key && !element.mirrored)
                return element.bounds;
        ADD_FAILURE() << key << " not drawn";
        return {};
    }
    void Store(const std::string& key, int x, int y)
    {
        ItemValues values = ShownValues(session->Document(), {SkinCategory::Strings, key});
        values.X = x;
        values.Y = y;
        session->StoreElement({SkinCategory::Strings, key}, values, 0);
        session->Commit();
    }

    TestSession rig; // with the sample texts, so that texts are drawn and measured
    TestSkin skin;
    std::unique_ptr<EditingSession>& session = rig.session;
    CanvasMoveTool tool{*session, 4};
    // Zoom 3 on a screen of ratio 1.5: 5 device pixels a skin pixel, viewport
    // positions that fall between device pixels.
    CanvasGeometry geometry{3, 1.5, QSize(700, 900), QPoint(0, 0)};
};

TEST(CanvasGeometryTest, EverySkinPixelIsFoundAgainAtItsViewportPosition)
{
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0})
        for (int zoom = 1; zoom <= CanvasGeometry::MaxZoom; ++zoom) {
            const CanvasGeometry geometry{zoom, ratio, QSize(640, 560), QPoint(37, 91)};
            for (int x = -CanvasGeometry::Margin; x < ScreenWidth + CanvasGeometry::Margin; x += 7)
                for (const int y : {-CanvasGeometry::Margin, -1, 0, 219, 230}) {
                    const QPointF at = geometry.ViewportPointOf(QPoint(x, y));
                    ASSERT_EQ(geometry.SkinPointAt(at), QPoint(x, y)) << zoom << " " << ratio;
                    ASSERT_EQ(geometry.SkinPointAt(at - QPointF(0.01, 0.01)), QPoint(x - 1, y - 1)) << zoom;
                }
        }
}

TEST_F(CanvasMoveToolTest, ADragOnAScaledScreenMovesByWholeSkinPixelsAndEscapePutsTheBytesBack)
{
    tool.SetSnapping(false);
    ASSERT_EQ(geometry.Scale(), 5);
    const std::vector<std::string> before = session->Document().Lines.Lines();
    // 11 and -20 viewport pixels are 16.5 and -30 device pixels: 3 and -6 skin pixels.
    Drag({{SkinCategory::Strings, "Artist"}, false}, QPoint(90, 45), QPointF(11, -20), false);
    EXPECT_EQ(Line("Artist"), "Artist = 91 34 17 2 2 0xFFFFFF00 0x000000FF");
    tool.Cancel(); // Escape
    EXPECT_EQ(session->Document().Lines.Lines(), before);
    EXPECT_EQ(session->History().count(), 0);
    tool.Release(); // the button let go after Escape: nothing
    EXPECT_EQ(session->History().count(), 0);

    Drag({{SkinCategory::Strings, "Artist"}, false}, QPoint(90, 45), QPointF(11, -20));
    EXPECT_EQ(Line("Artist"), "Artist = 91 34 17 2 2 0xFFFFFF00 0x000000FF");
    EXPECT_EQ(session->History().count(), 1);
}

TEST_F(CanvasMoveToolTest, TheRightSoftLabelMovesMirroredAndBackgroundsEdgesMoveWithIt)
{
    tool.SetSnapping(false);
    // Moving the right soft label right brings it nearer the right edge: X lowers.
    Drag({{SkinCategory::Strings, "SoftLabel"}, true}, QPoint(170, 210), QPointF(10, -10));
    EXPECT_EQ(Line("SoftLabel"), "SoftLabel = -1 215 36 1 255 0x00000000 0x000000FF");

    Drag({{SkinCategory::Objects, "Background"}, false}, QPoint(100, 100), QPointF(-10, 20));
    EXPECT_EQ(Line("Background"), "Background = -3 6 173 226 0xC0C0C000");
    const MoveTarget background{{SkinCategory::Objects, "Background"}, false};
    tool.Nudge({background}, QPoint(1, 0));
    tool.Nudge({background}, QPoint(0, -10));
    EXPECT_EQ(Line("Background"), "Background = -2 -4 174 216 0xC0C0C000");
    EXPECT_EQ(session->History().count(), 3); // two drags and one burst of nudges
}

TEST_F(CanvasMoveToolTest, ThreeElementsMoveAsOneStepThatUndoRestoresByteForByte)
{
    const std::vector<MoveTarget> three{{{SkinCategory::Strings, "Artist"}, false},
                                        {{SkinCategory::Strings, "Title "}, false},
                                        {{SkinCategory::Strings, "Album"}, false}};
    const std::vector<std::string> before = session->Document().Lines.Lines();
    tool.SetSnapping(false);
    tool.Press(three, QPointF(0, 0), QPoint(90, 45));
    tool.Move(QPointF(20, 0), QPoint(97, 43), false);
    tool.Move(QPointF(30, 0), QPoint(101, 42), false);
    tool.Release();
    EXPECT_EQ(Line("Artist"), "Artist = 99 37 17 2 2 0xFFFFFF00 0x000000FF");
    EXPECT_EQ(Line("Title "), "Title = 99 53 17 2 255 0x00FF0000 0x000000FF");
    EXPECT_EQ(Line("Album"), "Album = 99 69 17 1 1 0x0000FF00 0x000000FF");
    ASSERT_EQ(session->History().count(), 1);
    EXPECT_EQ(session->History().command(0)->text(), "Move 3 elements");
    session->Undo();
    EXPECT_EQ(session->Document().Lines.Lines(), before);

    // A burst of nudges on the three is one step as well.
    tool.Nudge(three, QPoint(1, 0));
    tool.Nudge(three, QPoint(0, 10));
    EXPECT_EQ(Line("Title "), "Title = 89 66 17 2 255 0x00FF0000 0x000000FF");
    ASSERT_EQ(session->History().count(), 1); // the drag was undone: its step is replaced
    session->Undo();
    EXPECT_EQ(session->Document().Lines.Lines(), before);
}

TEST_F(CanvasMoveToolTest, AlignAndDistributeMoveWhatIsDrawnAsOneStepEach)
{
    const std::vector<MoveTarget> three{{{SkinCategory::Strings, "Artist"}, false},
                                        {{SkinCategory::Strings, "Title "}, false},
                                        {{SkinCategory::Strings, "Album"}, false}};
    Store("Title ", 40, 50); // centred texts of different widths, apart
    Store("Album", 131, 72);
    const int steps = session->History().count();
    Arrange(*session, three, Arrangement::AlignHCenter);
    EXPECT_EQ(session->History().count(), steps + 1);
    const int column = CenterX(Drawn("Artist"));
    EXPECT_EQ(CenterX(Drawn("Title ")), column);
    EXPECT_EQ(CenterX(Drawn("Album")), column);

    // Equal gaps between the drawn rectangles; the outermost two stay.
    const auto gaps = [&] {
        return std::pair{Drawn("Title ").top() - (Drawn("Artist").bottom() + 1),
                         Drawn("Album").top() - (Drawn("Title ").bottom() + 1)};
    };
    const auto [first, second] = gaps();
    if ((first + second) % 2 != 0)
        Store("Album", 131, 73);
    const QRect artist = Drawn("Artist");
    Arrange(*session, three, Arrangement::DistributeV);
    EXPECT_EQ(gaps().first, gaps().second);
    EXPECT_EQ(Drawn("Artist"), artist);

    // One element alone aligns to the screen: its right edge on the screen's.
    Arrange(*session, {three[1]}, Arrangement::AlignRight);
    EXPECT_EQ(Drawn("Title ").right() + 1, ScreenWidth);
}

TEST_F(CanvasMoveToolTest, ADragSnapsToTheScreensCentreAndOtherElementsUnlessAltIsHeld)
{
    // Lines from the screen (0, 88, 176 across) and another element (140, 155, 170).
    const SnapHelper snap(QRect(10, 10, 20, 10), {QRect(140, 50, 30, 20)});
    SnapGuides guides;
    EXPECT_EQ(snap.Snapped(QPoint(76, 0), &guides).x(), 78); // its left edge 2 px from the centre line
    EXPECT_EQ(guides.x, 88);
    EXPECT_EQ(snap.Snapped(QPoint(107, 0), &guides).x(), 110); // its right edge 3 px from the other's left
    EXPECT_EQ(guides.x, 140);
    EXPECT_EQ(snap.Snapped(QPoint(50, 85), &guides), QPoint(50, 85)); // nothing within reach
    EXPECT_EQ(guides, SnapGuides{});

    // Through the tool: TimeCurrent's centre brought 1 px below the screen's middle
    // line, nearer it than to any other line.
    const MoveTarget time{{SkinCategory::Strings, "TimeCurrent"}, false};
    const QRect start = Drawn("TimeCurrent");
    const int by = ScreenHeight / 2 + 1 - CenterY(start);
    tool.Press({time}, QPointF(0, 0), QPoint(0, 0));
    tool.Move(QPointF(50, 0), QPoint(0, by), false);
    EXPECT_EQ(tool.Guides().y, ScreenHeight / 2);
    EXPECT_EQ(CenterY(Drawn("TimeCurrent")), ScreenHeight / 2);
    tool.Move(QPointF(50, 0), QPoint(0, by), false, true); // Alt held
    EXPECT_EQ(tool.Guides(), SnapGuides{});
    EXPECT_EQ(Drawn("TimeCurrent").top(), start.top() + by);
    tool.Release();
    EXPECT_EQ(tool.Guides(), SnapGuides{});
}

} // namespace
