#pragma once
// Where the canvas puts the skin: a whole-number zoom, a margin around the screen,
// the screen's device pixel ratio and the scroll position, and the arithmetic
// between skin pixels and viewport positions. A plain value, so that the view, its
// painting and its tests share one answer.
#include "SkinFormat.h"

#include <QPoint>
#include <QPointF>
#include <QSize>

#include <optional>
#include <vector>

struct CanvasGeometry {
    static constexpr int Margin = 48; // skin pixels around the screen on every side
    static constexpr int MaxZoom = 8;

    int zoom = 3;
    qreal ratio = 1;  // device pixels per viewport pixel
    QSize viewport;   // viewport pixels
    QPoint scroll;    // the scroll bars' values, viewport pixels

    // The zooms this ratio shows sharply: 1 to MaxZoom where zoom x ratio is whole,
    // or all of them when none is.
    static std::vector<int> ZoomLevels(qreal ratio);
    // The level nearest to zoom, the smaller one on a tie.
    static int NearestLevel(const std::vector<int>& levels, int zoom);
    // The next level above (step 1) or below (step -1) zoom; nothing at the end.
    static std::optional<int> StepLevel(const std::vector<int>& levels, int zoom, int step);

    // The largest level at which the whole screen fits into viewport; the smallest
    // level when none does.
    static int FittingLevel(const std::vector<int>& levels, QSize viewport);

    // Device pixels per skin pixel.
    int Scale() const { return static_cast<int>(zoom * ratio + 0.5); }
    // The margin and the screen at this zoom, viewport pixels.
    QSize ContentSize() const;
    // The frame the viewport shows, device pixels.
    QSize DeviceSize() const;
    // Device position of the content's top-left corner: centred when it is smaller
    // than the viewport, else scrolled.
    QPoint DeviceOrigin() const;
    // Device position of the screen's top-left corner (skin pixel 0, 0).
    QPoint DeviceScreenOrigin() const;

    // The skin pixel under a viewport position, and the viewport position of a skin
    // pixel's top-left corner.
    QPoint SkinPointAt(QPointF viewportPosition) const;
    QPointF ViewportPointOf(QPoint skinPoint) const;

    // The scroll values at newZoom that keep the content under anchor (a viewport
    // position) where it is.
    QPoint ScrollKeeping(QPointF anchor, int newZoom) const;
    // The scroll values that put the screen's centre at the viewport's centre.
    QPoint ScrollCentringScreen() const;
};

// value / divisor rounded towards minus infinity; divisor > 0.
inline int FloorDiv(int value, int divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}
