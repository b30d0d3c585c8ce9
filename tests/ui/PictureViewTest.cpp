#include "PictureView.h"

#include <QPalette>

#include <gtest/gtest.h>

// The view takes the picture's size (a scroll area around it cuts it off), and shows a
// checkerboard where the picture is transparent.
TEST(PictureView, ShowsThePictureUnscaledFromTheTopLeftAtItsSizeOverACheckerboard)
{
    const QRgb background = qRgb(1, 2, 3);
    QWidget page;
    page.resize(200, 240);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, background);
    page.setPalette(palette);
    page.setAutoFillBackground(true);
    PictureView view(&page);
    view.setGeometry(10, 10, 176, 220);
    view.SetCheckerboard(true);

    QImage large(300, 300, QImage::Format_ARGB32);
    large.fill(qRgb(200, 0, 0));
    large.setPixel(0, 0, qRgb(0, 200, 0));
    large.setPixel(1, 1, qRgba(0, 0, 0, 0));
    large.setPixel(175, 219, qRgb(0, 0, 200));
    view.ShowPicture(large);
    QImage shot = page.grab().toImage();
    EXPECT_EQ(shot.pixel(10, 10), qRgb(0, 200, 0));
    EXPECT_NE(shot.pixel(11, 11), background); // the checkerboard
    EXPECT_NE(shot.pixel(11, 11), qRgb(200, 0, 0));
    EXPECT_EQ(shot.pixel(10 + 175, 10 + 219), qRgb(0, 0, 200)); // not shrunk to fit
    EXPECT_EQ(view.size(), QSize(300, 300));

    QImage small(4, 3, QImage::Format_ARGB32);
    small.fill(qRgb(200, 0, 0));
    view.ShowPicture(small);
    shot = page.grab().toImage();
    EXPECT_EQ(shot.pixel(10 + 3, 10 + 2), qRgb(200, 0, 0));
    EXPECT_EQ(shot.pixel(10 + 4, 10 + 2), background); // not stretched, nothing left of the last one
    EXPECT_EQ(shot.pixel(10 + 3, 10 + 3), background);
}
