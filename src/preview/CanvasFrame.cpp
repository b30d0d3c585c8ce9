#include "CanvasFrame.h"

#include "ColorKey.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr QRgb MarginColor = qRgb(96, 96, 96);
const QColor GridColor(128, 128, 128, 120);
const QColor GuideColor(255, 0, 200); // magenta: seldom a skin's own colour
const QColor BandColor(40, 120, 255);

void PaintGrid(QPainter& painter, QSize frame, QPoint screen, int scale)
{
    painter.setPen(QPen(GridColor, 0));
    // Only the lines within the frame, each clipped to it.
    const int left = std::max(screen.x(), 0);
    const int top = std::max(screen.y(), 0);
    const int right = std::min(screen.x() + ScreenWidth * scale, frame.width());
    const int bottom = std::min(screen.y() + ScreenHeight * scale, frame.height());
    for (int x = std::max(1, FloorDiv(left - screen.x(), scale)); screen.x() + x * scale < right; ++x)
        painter.drawLine(screen.x() + x * scale, top, screen.x() + x * scale, bottom - 1);
    for (int y = std::max(1, FloorDiv(top - screen.y(), scale)); screen.y() + y * scale < bottom; ++y)
        painter.drawLine(left, screen.y() + y * scale, right - 1, screen.y() + y * scale);
}

// Where a rectangle's outline drawn with a pen of width may reach: four strips.
void AddOutlineArea(std::vector<QRect>& area, const QRect& drawn, int width)
{
    const int reach = width + 1;
    const QRect outer = drawn.adjusted(-reach, -reach, reach, reach);
    const int across = 2 * reach + 1;
    area.push_back(QRect(outer.left(), outer.top(), outer.width(), across));
    area.push_back(QRect(outer.left(), outer.bottom() - across + 1, outer.width(), across));
    area.push_back(QRect(outer.left(), outer.top(), across, outer.height()));
    area.push_back(QRect(outer.right() - across + 1, outer.top(), across, outer.height()));
}

// Alternating white and black dashes of four widths each, in a band of width just
// outside the box, clockwise from its top left corner as a dashed pen would run.
// Written as pixels: a dashed QPen took a third of a drag step's paint.
void PaintOutline(QImage& frame, std::vector<QRect>& area, QRect bounds, QPoint screen, int scale, int width)
{
    const QRect inner(screen.x() + bounds.left() * scale, screen.y() + bounds.top() * scale, bounds.width() * scale,
                      bounds.height() * scale);
    const QRect outer = inner.adjusted(-width, -width, width, width);
    const int dash = 4 * width;
    const int across = outer.width();
    const int down = inner.height();
    auto fill = [&](const QRect& band, auto along) {
        const QRect part = band.intersected(frame.rect());
        for (int y = part.top(); y <= part.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
            for (int x = part.left(); x <= part.right(); ++x)
                line[x] = (along(x, y) / dash) % 2 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
        area.push_back(band);
    };
    fill(QRect(outer.left(), outer.top(), across, width), [&](int x, int) { return x - outer.left(); });
    fill(QRect(inner.right() + 1, inner.top(), width, down), [&](int, int y) { return across + y - inner.top(); });
    fill(QRect(outer.left(), inner.bottom() + 1, across, width),
         [&](int x, int) { return across + down + outer.right() - x; });
    fill(QRect(outer.left(), inner.top(), width, down),
         [&](int, int y) { return 2 * across + down + inner.bottom() - y; });
}

// A line across the screen, and where its pen may reach.
void PaintGuide(QPainter& painter, std::vector<QRect>& area, QPoint from, QPoint to, int width)
{
    painter.drawLine(from, to);
    const int reach = width + 1;
    area.push_back(QRect(from, to).normalized().adjusted(-reach, -reach, reach, reach));
}

// The skin pixels within skinArea (margin beyond the screen included) enlarged into
// frame: each skin pixel is scale x scale device pixels, repeated by hand so that no
// filtering can blur an edge; key colour as the white beneath it. Returns the device
// rectangle written.
QRect EnlargeArea(QImage& frame, const QImage& surface, const CanvasGeometry& geometry, QRect skinArea)
{
    const int scale = geometry.Scale();
    const bool drawn = !surface.isNull() && surface.format() == QImage::Format_RGB32;
    const QRgb key = drawn ? KeyColor(surface) : 0;
    const QPoint screen = geometry.DeviceScreenOrigin();
    const QRect device = QRect(screen.x() + skinArea.left() * scale, screen.y() + skinArea.top() * scale,
                               skinArea.width() * scale, skinArea.height() * scale)
                             .intersected(frame.rect());
    if (device.isEmpty())
        return {};

    // The frame's columns in runs of one skin pixel each (or of margin).
    struct Run {
        int start;
        int length;
        int column; // -1: the margin
    };
    std::vector<Run> runs;
    for (int x = device.left(); x <= device.right();) {
        const int column = FloorDiv(x - screen.x(), scale);
        const int end = std::min(device.right() + 1, screen.x() + (column + 1) * scale);
        const bool onScreen = drawn && column >= 0 && column < ScreenWidth;
        if (!onScreen && !runs.empty() && runs.back().column < 0)
            runs.back().length += end - x;
        else
            runs.push_back(Run{x, end - x, onScreen ? column : -1});
        x = end;
    }
    // Each row of skin pixels is made once, then copied down scale - 1 times.
    int lastRow = std::numeric_limits<int>::min();
    const auto bytes = static_cast<std::size_t>(device.width()) * sizeof(QRgb);
    for (int y = device.top(); y <= device.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y)) + device.left();
        int row = FloorDiv(y - screen.y(), scale);
        if (!drawn || row < 0 || row >= ScreenHeight)
            row = -1;
        if (row == lastRow && y > device.top()) {
            std::memcpy(line, reinterpret_cast<const QRgb*>(frame.constScanLine(y - 1)) + device.left(), bytes);
            continue;
        }
        lastRow = row;
        if (row < 0) {
            std::fill(line, line + device.width(), MarginColor);
            continue;
        }
        const auto* source = reinterpret_cast<const QRgb*>(surface.constScanLine(row));
        for (const Run& run : runs)
            std::fill_n(line + (run.start - device.left()), run.length,
                        run.column < 0 ? MarginColor : KeyedPixel(source[run.column], key, qRgb(255, 255, 255)));
    }
    return device;
}

// EnlargeArea of each of skinAreas, the grid over them; adds the device rectangles
// written to written.
void Enlarge(QImage& frame, const QImage& surface, const CanvasGeometry& geometry, bool grid,
             const std::vector<QRect>& skinAreas, std::vector<QRect>& written)
{
    QRegion area;
    for (const QRect& skinArea : skinAreas) {
        const QRect device = EnlargeArea(frame, surface, geometry, skinArea);
        if (device.isEmpty())
            continue;
        written.push_back(device);
        area += device;
    }
    if (grid && geometry.zoom >= CanvasOverlays::GridFromZoom && !area.isEmpty()) {
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setClipRegion(area);
        PaintGrid(painter, frame.size(), geometry.DeviceScreenOrigin(), geometry.Scale());
    }
}

// The skin pixels where two surfaces of the screen's size differ, as rows of the
// span from the first to the last differing pixel (rows of one span together); the
// whole screen when either is not such a surface.
std::vector<QRect> Changed(const QImage& now, const QImage& before)
{
    const QRect whole(0, 0, ScreenWidth, ScreenHeight);
    if (now.isNull() || before.isNull() || now.size() != whole.size() || before.size() != whole.size()
        || now.format() != QImage::Format_RGB32 || before.format() != QImage::Format_RGB32)
        return {whole};
    std::vector<QRect> changed;
    for (int y = 0; y < ScreenHeight; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(now.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        if (std::memcmp(a, b, ScreenWidth * sizeof(QRgb)) == 0)
            continue;
        int left = 0, right = ScreenWidth - 1;
        while (a[left] == b[left])
            ++left;
        while (a[right] == b[right])
            --right;
        if (!changed.empty() && changed.back().bottom() == y - 1 && changed.back().left() == left
            && changed.back().right() == right)
            changed.back().setBottom(y);
        else
            changed.push_back(QRect(left, y, right - left + 1, 1));
    }
    return changed;
}

bool SameGeometry(const CanvasGeometry& a, const CanvasGeometry& b)
{
    return a.zoom == b.zoom && a.ratio == b.ratio && a.viewport == b.viewport && a.scroll == b.scroll;
}

} // namespace

bool CanvasPicture::Shows(const CanvasGeometry& geometry) const
{
    return !frame_.isNull() && SameGeometry(geometry, geometry_);
}

const QImage& CanvasPicture::Paint(const QImage& surface, const CanvasGeometry& geometry,
                                   const CanvasOverlays& overlays)
{
    const QSize size = geometry.DeviceSize();
    const bool drawn = !surface.isNull() && surface.format() == QImage::Format_RGB32;
    const bool whole = pixels_.size() != size || !SameGeometry(geometry, geometry_) || grid_ != overlays.grid
        || drawn != !shown_.isNull() || (drawn && KeyColor(surface) != KeyColor(shown_));
    frame_.setDevicePixelRatio(1);
    if (whole) {
        pixels_ = QImage(size, QImage::Format_RGB32);
        geometry_ = geometry;
        grid_ = overlays.grid;
        // The margin all round, as far as the frame reaches.
        const int scale = geometry.Scale();
        const QPoint screen = geometry.DeviceScreenOrigin();
        const QPoint first(FloorDiv(-screen.x(), scale), FloorDiv(-screen.y(), scale));
        const QPoint last(FloorDiv(size.width() - 1 - screen.x(), scale), FloorDiv(size.height() - 1 - screen.y(), scale));
        std::vector<QRect> written;
        Enlarge(pixels_, surface, geometry, grid_, {QRect(first, last)}, written);
        frame_ = pixels_.copy();
        overlaid_.clear();
        shown_ = drawn ? surface.copy() : QImage();
    } else if (drawn) {
        const std::vector<QRect> changed = Changed(surface, shown_);
        Enlarge(pixels_, surface, geometry, grid_, changed, overlaid_);
        // Copied, not shared, and only where it changed: the session draws into its surface again.
        if (shown_.size() != surface.size() || shown_.format() != surface.format())
            shown_ = surface.copy();
        else
            for (const QRect& rows : changed)
                for (int y = rows.top(); y <= rows.bottom(); ++y)
                    std::memcpy(shown_.scanLine(y) + rows.left() * sizeof(QRgb),
                                surface.constScanLine(y) + rows.left() * sizeof(QRgb),
                                static_cast<std::size_t>(rows.width()) * sizeof(QRgb));
    }

    // The pixels under the last overlays (and the new ones) put back, then the overlays drawn.
    for (const QRect& area : overlaid_) {
        const QRect part = area.intersected(pixels_.rect());
        if (part.isEmpty())
            continue;
        const auto bytes = static_cast<std::size_t>(part.width()) * sizeof(QRgb);
        for (int y = part.top(); y <= part.bottom(); ++y)
            std::memcpy(frame_.scanLine(y) + part.left() * sizeof(QRgb),
                        pixels_.constScanLine(y) + part.left() * sizeof(QRgb), bytes);
    }
    changed_ = whole ? std::vector<QRect>{frame_.rect()} : std::move(overlaid_);
    overlaid_.clear();

    const int scale = geometry.Scale();
    const QPoint screen = geometry.DeviceScreenOrigin();
    const int width = std::max(1, qRound(geometry.ratio));
    if (!overlays.marked.empty()) {
        QPainter painter(&frame_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(overlays.markColor), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (const QRect& bounds : overlays.marked) {
            const QRect drawn = QRect(screen.x() + bounds.left() * scale - width, screen.y() + bounds.top() * scale - width,
                                      bounds.width() * scale + width, bounds.height() * scale + width)
                                    .adjusted(width / 2, width / 2, width / 2, width / 2);
            painter.drawRect(drawn);
            AddOutlineArea(overlaid_, drawn, width);
        }
    }
    for (const QRect& bounds : overlays.selected)
        PaintOutline(frame_, overlaid_, bounds, screen, scale, width);
    if (overlays.primary)
        PaintOutline(frame_, overlaid_, *overlays.primary, screen, scale, 2 * width);
    if (overlays.guideX || overlays.guideY || !overlays.band.isEmpty()) {
        QPainter painter(&frame_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(GuideColor, width));
        if (overlays.guideX)
            PaintGuide(painter, overlaid_, QPoint(screen.x() + *overlays.guideX * scale, screen.y()),
                       QPoint(screen.x() + *overlays.guideX * scale, screen.y() + ScreenHeight * scale), width);
        if (overlays.guideY)
            PaintGuide(painter, overlaid_, QPoint(screen.x(), screen.y() + *overlays.guideY * scale),
                       QPoint(screen.x() + ScreenWidth * scale, screen.y() + *overlays.guideY * scale), width);
        if (!overlays.band.isEmpty()) {
            painter.setPen(QPen(BandColor, width, Qt::DashLine));
            const QRect band(screen.x() + overlays.band.left() * scale, screen.y() + overlays.band.top() * scale,
                             overlays.band.width() * scale, overlays.band.height() * scale);
            painter.drawRect(band);
            AddOutlineArea(overlaid_, band, width);
        }
    }
    if (!whole)
        changed_.insert(changed_.end(), overlaid_.begin(), overlaid_.end());
    frame_.setDevicePixelRatio(geometry.ratio);
    return frame_;
}
