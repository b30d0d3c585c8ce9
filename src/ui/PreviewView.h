#pragma once
// Shows the preview surface at its own size over whatever lies beneath it. Pixels in
// the surface's bottom-left colour are see-through, so the frame's white shows there.
#include "PictureView.h"

#include <QImage>

// The surface with every pixel of the key colour (the one at the bottom-left
// corner) made fully transparent. A null surface gives a null image.
QImage ColourKeyed(const QImage& surface);

// The same keying with the see-through pixels painted seeThrough instead, as the
// preview shows over that colour (RGB32, one pass: the canvas redraws it at every step).
QImage ColourKeyedOver(const QImage& surface, QRgb seeThrough);

class PreviewView : public PictureView {
public:
    explicit PreviewView(QWidget* parent = nullptr) : PictureView(parent) {}

    void ShowSurface(const QImage& surface) { ShowPicture(ColourKeyed(surface)); }
};
