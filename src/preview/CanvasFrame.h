#pragma once
// The canvas's picture: the preview surface enlarged to whole blocks of device
// pixels, keyed as the main preview, inside a grey margin, with the pixel grid and
// the selection outlines, snap guides and selection rectangle drawn over it (never
// on the surface).
#include "CanvasGeometry.h"

#include <QImage>
#include <QRect>
#include <QRegion>

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
    std::vector<QRect> marked; // where a colour is used (ColorMarking): outlined in markColor
    QRgb markColor = 0;
};

// The canvas's picture, kept between paints: a paint after a new drawing enlarges
// again only the skin pixels that changed and those under the last overlays, then
// draws the new ones; another geometry or key colour, or the grid shown or hidden,
// paints it whole.
class CanvasPicture {
public:
    // The frame (RGB32, geometry.DeviceSize(), device pixel ratio geometry.ratio) of
    // surface with overlays. A surface not of the screen's size in RGB32 shows as margin
    // only. When changed is given, the surface differs from the one painted last only
    // within its rectangles (skin pixels): only there is it compared.
    const QImage& Paint(const QImage& surface, const CanvasGeometry& geometry, const CanvasOverlays& overlays,
                        const std::vector<QRect>* changed = nullptr);
    // The frame of the last Paint, and the device pixels where it may differ from the
    // one before (all of it after a whole paint): what a view must show again.
    const QImage& Frame() const { return frame_; }
    const QRegion& ChangedArea() const { return changed_; }
    // Whether the frame was painted for geometry.
    bool Shows(const CanvasGeometry& geometry) const;

private:
    QImage frame_; // the enlarged surface in its margin, with the grid and the overlays
    QImage shown_; // the surface as frame_ shows it
    CanvasGeometry geometry_;
    bool grid_ = false;
    std::vector<QRect> overlaid_; // device rectangles the overlays may have drawn on
    QRegion changed_;
};
