#pragma once
// The canvas's picture: the preview surface enlarged to whole blocks of device
// pixels, keyed as the main preview, inside a grey margin, with the pixel grid and
// the selection outlines, snap guides and selection rectangle drawn over it (never
// on the surface).
#include "CanvasGeometry.h"

#include <QImage>
#include <QRect>

#include <optional>
#include <vector>

struct CanvasOverlays {
    static constexpr int GridFromZoom = 3; // below, the lines would hide the pixels
    bool grid = false;
    std::vector<QRect> selected; // skin pixels: each gets an outline just outside it
    std::optional<QRect> primary; // the one the property editor shows: a thicker outline
    std::optional<int> guideX;    // snap guides: lines between skin pixels, across the screen
    std::optional<int> guideY;
    QRect band; // a selection rectangle being drawn, in skin pixels
    std::vector<QRect> marked; // where a colour is used (ColourMarking): outlined in markColour
    QRgb markColour = 0;
};

// Paints frame (RGB32, geometry.DeviceSize(), device pixel ratio 1) whole. A null
// surface or one not RGB32 shows as margin only.
void PaintCanvasFrame(QImage& frame, const QImage& surface, const CanvasGeometry& geometry,
                      const CanvasOverlays& overlays);
