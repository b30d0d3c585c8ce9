#include "CanvasFrame.h"

#include "ColorKey.h"

#include <QPainter>

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

// Alternating black and white dashes just outside the box: visible on any background.
void PaintOutline(QPainter& painter, QRect bounds, QPoint screen, int scale, int width)
{
    QPen black(Qt::black, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QPen white(Qt::white, width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    white.setDashPattern({4, 4});
    const QRect box(screen.x() + bounds.left() * scale - width, screen.y() + bounds.top() * scale - width,
                    bounds.width() * scale + width, bounds.height() * scale + width);
    for (const QPen& pen : {black, white}) {
        painter.setPen(pen);
        painter.drawRect(box.adjusted(width / 2, width / 2, width / 2, width / 2));
    }
}

} // namespace

void PaintCanvasFrame(QImage& frame, const QImage& surface, const CanvasGeometry& geometry,
                      const CanvasOverlays& overlays)
{
    // Each skin pixel is scale x scale device pixels, repeated by hand so that no
    // filtering can blur an edge.
    const QSize size = frame.size();
    const int scale = geometry.Scale();
    const bool drawn = !surface.isNull() && surface.format() == QImage::Format_RGB32;
    const QRgb key = drawn ? KeyColor(surface) : 0;
    const QPoint screen = geometry.DeviceScreenOrigin();

    // The frame's columns in runs of one skin pixel each (or of margin).
    struct Run {
        int start;
        int length;
        int column; // -1: the margin
    };
    std::vector<Run> runs;
    for (int x = 0; x < size.width();) {
        const int column = FloorDiv(x - screen.x(), scale);
        const int end = std::min(size.width(), screen.x() + (column + 1) * scale);
        const bool onScreen = drawn && column >= 0 && column < ScreenWidth;
        if (!onScreen && !runs.empty() && runs.back().column < 0)
            runs.back().length += end - x;
        else
            runs.push_back(Run{x, end - x, onScreen ? column : -1});
        x = end;
    }
    // Each row of skin pixels is made once, then copied down scale - 1 times: the
    // same pixels as the main preview, key colour as the white beneath it.
    int lastRow = std::numeric_limits<int>::min();
    const auto bytes = static_cast<std::size_t>(size.width()) * sizeof(QRgb);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        int row = FloorDiv(y - screen.y(), scale);
        if (!drawn || row < 0 || row >= ScreenHeight)
            row = -1;
        if (row == lastRow && y > 0) {
            std::memcpy(line, frame.constScanLine(y - 1), bytes);
            continue;
        }
        lastRow = row;
        if (row < 0) {
            std::fill(line, line + size.width(), MarginColor);
            continue;
        }
        const auto* source = reinterpret_cast<const QRgb*>(surface.constScanLine(row));
        for (const Run& run : runs)
            std::fill_n(line + run.start, run.length,
                        run.column < 0 ? MarginColor : KeyedPixel(source[run.column], key, qRgb(255, 255, 255)));
    }

    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (overlays.grid && geometry.zoom >= CanvasOverlays::GridFromZoom)
        PaintGrid(painter, size, screen, scale);
    const int width = std::max(1, qRound(geometry.ratio));
    painter.setPen(QPen(QColor(overlays.markColour), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QRect& bounds : overlays.marked)
        painter.drawRect(QRect(screen.x() + bounds.left() * scale - width, screen.y() + bounds.top() * scale - width,
                               bounds.width() * scale + width, bounds.height() * scale + width)
                             .adjusted(width / 2, width / 2, width / 2, width / 2));
    for (const QRect& bounds : overlays.selected)
        PaintOutline(painter, bounds, screen, scale, width);
    if (overlays.primary)
        PaintOutline(painter, *overlays.primary, screen, scale, 2 * width);
    painter.setPen(QPen(GuideColor, width));
    if (overlays.guideX)
        painter.drawLine(screen.x() + *overlays.guideX * scale, screen.y(), screen.x() + *overlays.guideX * scale,
                         screen.y() + ScreenHeight * scale);
    if (overlays.guideY)
        painter.drawLine(screen.x(), screen.y() + *overlays.guideY * scale, screen.x() + ScreenWidth * scale,
                         screen.y() + *overlays.guideY * scale);
    if (!overlays.band.isEmpty()) {
        painter.setPen(QPen(BandColor, width, Qt::DashLine));
        painter.drawRect(screen.x() + overlays.band.left() * scale, screen.y() + overlays.band.top() * scale,
                         overlays.band.width() * scale, overlays.band.height() * scale);
    }
}
