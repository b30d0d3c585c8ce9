#pragma once
// Shows the preview surface at its own size over whatever lies beneath it. Pixels in
// the surface's bottom-left colour are see-through, so the frame's white shows there.
#include "PictureView.h"

#include <QImage>

// The surface with every pixel of the key colour (the one at the bottom-left
// corner) made fully transparent. A null surface gives a null image.
QImage ColourKeyed(const QImage& surface);

// The key colour of a non-null surface (its bottom-left pixel's RGB), and a pixel as
// the preview shows it over seeThrough: the canvas keys only the pixels it shows.
QRgb KeyColour(const QImage& surface);
inline QRgb KeyedPixel(QRgb pixel, QRgb key, QRgb seeThrough)
{
    return (pixel & RGB_MASK) == key ? seeThrough : pixel;
}

class PreviewView : public PictureView {
public:
    explicit PreviewView(QWidget* parent = nullptr) : PictureView(parent) {}

    void ShowSurface(const QImage& surface) { ShowPicture(ColourKeyed(surface)); }
};
