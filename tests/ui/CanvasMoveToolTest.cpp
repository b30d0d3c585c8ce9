// The canvas's geometry and move tool without a widget: positions as a view on a
// scaled screen hands them over, the skin changed through the session.
#include "CanvasGeometry.h"
#include "CanvasMoveTool.h"

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

    QTemporaryDir executable;
    TestSkin skin;
    std::unique_ptr<EditingSession> session{
        std::make_unique<EditingSession>([folder = executable.path() + "/"] { return folder; })};
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

} // namespace
