#pragma once
// Shows the preview surface at its own size over whatever lies beneath it. Pixels in
// the surface's key colour are see-through, so the frame's white shows there.
#include "ColorKey.h"
#include "PictureView.h"

#include <QImage>

class PreviewView : public PictureView {
public:
    explicit PreviewView(QWidget* parent = nullptr) : PictureView(parent) {}

    void ShowSurface(const QImage& surface) { ShowPicture(ColorKeyed(surface)); }
};
