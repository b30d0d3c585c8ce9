#include "PreviewView.h"

#include "ShapeFrame.h"

#include <gtest/gtest.h>

TEST(PreviewView, ShowsTheFramesWhiteWhereTheSurfaceHasItsBottomLeftColor)
{
    ShapeFrame frame;
    frame.resize(178, 222);
    PreviewView view(&frame);
    view.setGeometry(1, 1, 176, 220);
    EXPECT_EQ(frame.grab().toImage().pixel(50, 50), qRgb(255, 255, 255)); // nothing shown yet

    QImage surface(176, 220, QImage::Format_RGB32);
    surface.fill(qRgb(0, 0, 255));
    surface.setPixel(10, 20, qRgb(255, 0, 0));
    surface.setPixel(11, 20, qRgb(0, 0, 254)); // a near miss is drawn
    view.ShowSurface(surface);

    const QImage shot = frame.grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(177, 221), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(1 + 10, 1 + 20), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(1 + 11, 1 + 20), qRgb(0, 0, 254));
    EXPECT_EQ(shot.pixel(1 + 50, 1 + 50), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(1, 1 + 219), qRgb(255, 255, 255));
}
