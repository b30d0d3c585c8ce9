#include "CanvasGeometry.h"

#include <algorithm>
#include <cmath>

std::vector<int> CanvasGeometry::ZoomLevels(qreal ratio)
{
    std::vector<int> levels;
    for (int zoom = 1; zoom <= MaxZoom; ++zoom) {
        const qreal device = zoom * ratio;
        if (std::abs(device - std::round(device)) < 1e-6)
            levels.push_back(zoom);
    }
    // A ratio no zoom multiplies to a whole number: every zoom, as sharp as it gets.
    if (levels.empty())
        for (int zoom = 1; zoom <= MaxZoom; ++zoom)
            levels.push_back(zoom);
    return levels;
}

int CanvasGeometry::NearestLevel(const std::vector<int>& levels, int zoom)
{
    return *std::min_element(levels.begin(), levels.end(), [zoom](int a, int b) {
        return std::abs(a - zoom) < std::abs(b - zoom) || (std::abs(a - zoom) == std::abs(b - zoom) && a < b);
    });
}

std::optional<int> CanvasGeometry::StepLevel(const std::vector<int>& levels, int zoom, int step)
{
    if (step > 0) {
        const auto next = std::upper_bound(levels.begin(), levels.end(), zoom);
        return next != levels.end() ? std::optional(*next) : std::nullopt;
    }
    const auto next = std::lower_bound(levels.begin(), levels.end(), zoom);
    return next != levels.begin() ? std::optional(*std::prev(next)) : std::nullopt;
}

int CanvasGeometry::FittingLevel(const std::vector<int>& levels, QSize viewport)
{
    int fits = levels.front();
    for (int zoom : levels)
        if (ScreenWidth * zoom <= viewport.width() && ScreenHeight * zoom <= viewport.height())
            fits = zoom;
    return fits;
}

QSize CanvasGeometry::ContentSize() const
{
    return QSize((ScreenWidth + 2 * Margin) * zoom, (ScreenHeight + 2 * Margin) * zoom);
}

QSize CanvasGeometry::DeviceSize() const
{
    return QSize(static_cast<int>(std::ceil(viewport.width() * ratio)),
                 static_cast<int>(std::ceil(viewport.height() * ratio)));
}

QPoint CanvasGeometry::DeviceOrigin() const
{
    const QSize content = ContentSize();
    const qreal x = content.width() < viewport.width() ? (viewport.width() - content.width()) / 2 : -scroll.x();
    const qreal y = content.height() < viewport.height() ? (viewport.height() - content.height()) / 2 : -scroll.y();
    return QPoint(qRound(x * ratio), qRound(y * ratio));
}

QPoint CanvasGeometry::DeviceScreenOrigin() const
{
    return DeviceOrigin() + QPoint(Margin, Margin) * Scale();
}

QPoint CanvasGeometry::SkinPointAt(QPointF viewportPosition) const
{
    const QPoint origin = DeviceOrigin();
    const int scale = Scale();
    const auto at = [&](qreal position, int start) {
        return FloorDiv(static_cast<int>(std::floor(position * ratio)) - start, scale) - Margin;
    };
    return QPoint(at(viewportPosition.x(), origin.x()), at(viewportPosition.y(), origin.y()));
}

QPointF CanvasGeometry::ViewportPointOf(QPoint skinPoint) const
{
    const QPoint origin = DeviceOrigin();
    const int scale = Scale();
    return QPointF((origin.x() + (skinPoint.x() + Margin) * scale) / ratio,
                   (origin.y() + (skinPoint.y() + Margin) * scale) / ratio);
}

QPoint CanvasGeometry::ScrollKeeping(QPointF anchor, int newZoom) const
{
    // The content position under the anchor, in skin pixels, before the change.
    const QPoint origin = DeviceOrigin();
    const qreal scale = Scale();
    const QPointF content((anchor.x() * ratio - origin.x()) / scale, (anchor.y() * ratio - origin.y()) / scale);
    return QPoint(qRound(content.x() * newZoom - anchor.x()), qRound(content.y() * newZoom - anchor.y()));
}

QPoint CanvasGeometry::ScrollCentringScreen() const
{
    return QPoint((Margin + ScreenWidth / 2) * zoom - viewport.width() / 2,
                  (Margin + ScreenHeight / 2) * zoom - viewport.height() / 2);
}
