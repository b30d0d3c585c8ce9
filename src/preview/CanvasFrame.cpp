#include "CanvasFrame.h"

#include "ColorKey.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr QRgb MarginColor = qRgb(96, 96, 96);
const QColor GridColor(128, 128, 128, 120);
constexpr QRgb GuideColor = qRgb(255, 0, 200); // magenta: seldom a skin's own colour
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

// colorAt(x, y) written into each pixel of band within the frame, and band added to
// area. The overlays are written as pixels: a dashed QPen took a third of a drag
// step's paint.
template <typename ColorAt>
void WriteBand(QImage& frame, std::vector<QRect>& area, const QRect& band, ColorAt colorAt)
{
    const QRect part = band.intersected(frame.rect());
    uchar* const bits = frame.bits();
    for (int y = part.top(); y <= part.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * frame.bytesPerLine());
        for (int x = part.left(); x <= part.right(); ++x)
            line[x] = colorAt(x, y);
    }
    area.push_back(band);
}

// A band of alternating white and black dashes of dash pixels each, written into the
// frame within it and added to area. The dashes run along the band's long side (along):
// its first pixel there is position first of the pattern, each next one step (1 or -1)
// further. One row of a band across is made and copied; a band down is one colour a row.
void WriteDashes(QImage& frame, std::vector<QRect>& area, const QRect& band, Qt::Orientation along, int first, int step,
                 int dash)
{
    area.push_back(band);
    const QRect part = band.intersected(frame.rect());
    if (part.isEmpty())
        return;
    const bool across = along == Qt::Horizontal;
    // The pattern where the part begins, kept as the dash and the place in it.
    const int position = first + step * (across ? part.left() - band.left() : part.top() - band.top());
    bool black = (position / dash) % 2 != 0;
    int inDash = position % dash;
    const auto next = [&] {
        inDash += step;
        if (inDash == dash || inDash < 0) {
            inDash = inDash < 0 ? dash - 1 : 0;
            black = !black;
        }
    };
    uchar* const bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    const auto line = [&](int y) { return reinterpret_cast<QRgb*>(bits + y * stride); };
    const auto color = [&] { return black ? qRgb(0, 0, 0) : qRgb(255, 255, 255); };
    if (across) {
        QRgb* const row = line(part.top());
        for (int x = part.left(); x <= part.right(); ++x, next())
            row[x] = color();
        for (int y = part.top() + 1; y <= part.bottom(); ++y)
            std::memcpy(line(y) + part.left(), row + part.left(), static_cast<std::size_t>(part.width()) * sizeof(QRgb));
        return;
    }
    for (int y = part.top(); y <= part.bottom(); ++y, next())
        std::fill_n(line(y) + part.left(), part.width(), color());
}

// Alternating white and black dashes of four widths each, in a band of width just
// outside the box, clockwise from its top left corner as a dashed pen would run.
void PaintOutline(QImage& frame, std::vector<QRect>& area, QRect bounds, QPoint screen, int scale, int width)
{
    const QRect inner(screen.x() + bounds.left() * scale, screen.y() + bounds.top() * scale, bounds.width() * scale,
                      bounds.height() * scale);
    const QRect outer = inner.adjusted(-width, -width, width, width);
    const int dash = 4 * width;
    const int across = outer.width();
    const int down = inner.height();
    WriteDashes(frame, area, QRect(outer.left(), outer.top(), across, width), Qt::Horizontal, 0, 1, dash);
    WriteDashes(frame, area, QRect(inner.right() + 1, inner.top(), width, down), Qt::Vertical, across, 1, dash);
    WriteDashes(frame, area, QRect(outer.left(), inner.bottom() + 1, across, width), Qt::Horizontal,
                across + down + across - 1, -1, dash);
    WriteDashes(frame, area, QRect(outer.left(), inner.top(), width, down), Qt::Vertical, 2 * across + down + down - 1, -1,
                dash);
}

// Whether a surface can be shown: a picture of the screen, RGB32.
bool Drawable(const QImage& surface)
{
    return surface.format() == QImage::Format_RGB32 && surface.size() == QSize(ScreenWidth, ScreenHeight);
}

// A guide across the screen: a line of width pixels along the device column or
// row at, from from to to.
void PaintGuide(QImage& frame, std::vector<QRect>& area, Qt::Orientation along, int at, int from, int to, int width)
{
    const int first = at - width / 2; // as a pen of this width is centred on the line
    const QRect line = along == Qt::Vertical ? QRect(first, from, width, to - from + 1) : QRect(from, first, to - from + 1, width);
    WriteBand(frame, area, line, [](int, int) { return GuideColor; });
}

// The frame's columns in runs of one skin pixel each, or of margin.
struct Run {
    int start;
    int length;
    int column; // -1: the margin
};

// The frame's pixels within device (a rectangle inside it) from the surface (none:
// margin only), each skin pixel scale x scale device pixels, repeated by hand so that
// no filtering can blur an edge; key colour as the white beneath it, the margin grey.
void EnlargeArea(QImage& frame, const QImage* surface, const CanvasGeometry& geometry, QRect device, QRgb key,
                 std::vector<Run>& runs)
{
    const int scale = geometry.Scale();
    const bool drawn = surface != nullptr;
    const QPoint screen = geometry.DeviceScreenOrigin();
    runs.clear();
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
    // Each row of skin pixels is made once, then copied down the rest of its device rows.
    const auto bytes = static_cast<std::size_t>(device.width()) * sizeof(QRgb);
    uchar* const bits = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    for (int y = device.top(), row = FloorDiv(y - screen.y(), scale); y <= device.bottom(); ++row) {
        const int end = std::min(device.bottom() + 1, screen.y() + (row + 1) * scale);
        auto* const line = reinterpret_cast<QRgb*>(bits + y * stride) + device.left();
        if (!drawn || row < 0 || row >= ScreenHeight) {
            std::fill(line, line + device.width(), MarginColor);
        } else {
            const auto* source = reinterpret_cast<const QRgb*>(surface->constScanLine(row));
            for (const Run& run : runs)
                std::fill_n(line + (run.start - device.left()), run.length,
                            run.column < 0 ? MarginColor : KeyedPixel(source[run.column], key, qRgb(255, 255, 255)));
        }
        for (++y; y < end; ++y)
            std::memcpy(bits + y * stride + device.left() * qsizetype(sizeof(QRgb)), line, bytes);
    }
}

// The frame's pixels within the device rectangles areas from the surface, the grid
// over them; returns where it wrote.
QRegion Enlarge(QImage& frame, const QImage& surface, const CanvasGeometry& geometry, bool grid,
                const std::vector<QRect>& areas)
{
    QRegion written;
    for (const QRect& area : areas)
        written += area.intersected(frame.rect());
    const QImage* source = Drawable(surface) ? &surface : nullptr;
    const QRgb key = source != nullptr ? KeyColor(surface) : 0;
    std::vector<Run> runs;
    runs.reserve(frame.width() / std::max(1, geometry.Scale()) + 2);
    for (const QRect& device : written)
        EnlargeArea(frame, source, geometry, device, key, runs);
    if (grid && geometry.zoom >= CanvasOverlays::GridFromZoom && !written.isEmpty()) {
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setClipRegion(written);
        PaintGrid(painter, frame.size(), geometry.DeviceScreenOrigin(), geometry.Scale());
    }
    return written;
}

// The skin pixels where two surfaces of the screen's size differ, covered by few
// rectangles that hold little else: in each row the runs of blocks of Block pixels
// that differ, trimmed to their first and last differing pixel; a run grows the
// rectangle above that its columns meet, or come within Block of (two that it joins
// become one). A text moved by a drag changes a few pixels in a long row: the span
// from the first to the last would enlarge all between. Only rows within some
// rectangle of within are compared, when it is given. The whole screen when either is
// not such a surface.
std::vector<QRect> Changed(const QImage& now, const QImage& before, const std::vector<QRect>* within)
{
    constexpr int Block = 8; // pixels compared at once
    static_assert(ScreenWidth % Block == 0);
    constexpr int Blocks = ScreenWidth / Block;
    const QRect whole(0, 0, ScreenWidth, ScreenHeight);
    if (!Drawable(now) || !Drawable(before))
        return {whole};
    // The rows that may differ.
    std::array<bool, ScreenHeight> rows;
    rows.fill(within == nullptr);
    if (within != nullptr)
        for (const QRect& rect : *within)
            for (int y = std::max(rect.top(), 0); y <= std::min(rect.bottom(), ScreenHeight - 1); ++y)
                rows[static_cast<std::size_t>(y)] = true;
    std::vector<QRect> changed;
    std::vector<std::size_t> open, next; // the rectangles that reach the row above, left to right
    for (int y = 0; y < ScreenHeight; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(now.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        next.clear();
        if (!rows[static_cast<std::size_t>(y)] || std::memcmp(a, b, ScreenWidth * sizeof(QRgb)) == 0) {
            std::swap(open, next);
            continue;
        }
        const auto differs = [&](int block) {
            return std::memcmp(a + block * Block, b + block * Block, Block * sizeof(QRgb)) != 0;
        };
        std::size_t above = 0; // the first open rectangle a run may still meet
        for (int block = 0; block < Blocks; ++block) {
            if (!differs(block))
                continue;
            int left = block * Block;
            while (block + 1 < Blocks && differs(block + 1))
                ++block;
            int right = block * Block + Block - 1;
            while (a[left] == b[left])
                ++left;
            while (a[right] == b[right])
                --right;
            const QRect run(left, y, right - left + 1, 1);
            // Open rectangles wholly left of the run are met by no later run either.
            while (above < open.size() && changed[open[above]].right() + Block <= left)
                ++above;
            std::size_t into = changed.size();
            while (above < open.size() && changed[open[above]].left() - Block <= right) {
                QRect& met = changed[open[above]];
                if (into == changed.size()) {
                    into = open[above];
                    met |= run;
                } else {
                    changed[into] |= met;
                    met = QRect(); // joined into the other
                }
                ++above;
            }
            if (into == changed.size())
                changed.push_back(run);
            next.push_back(into);
        }
        std::swap(open, next);
    }
    changed.erase(std::remove_if(changed.begin(), changed.end(), [](const QRect& rect) { return rect.isNull(); }),
                  changed.end());
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
                                   const CanvasOverlays& overlays, const std::vector<QRect>* surfaceChanged)
{
    const QSize size = geometry.DeviceSize();
    const bool drawn = Drawable(surface);
    const bool whole = frame_.size() != size || !SameGeometry(geometry, geometry_) || grid_ != overlays.grid
        || drawn != !shown_.isNull() || (drawn && KeyColor(surface) != KeyColor(shown_));
    frame_.setDevicePixelRatio(1);
    const int scale = geometry.Scale();
    const QPoint screen = geometry.DeviceScreenOrigin();
    if (whole) {
        frame_ = QImage(size, QImage::Format_RGB32);
        geometry_ = geometry;
        grid_ = overlays.grid;
        changed_ = Enlarge(frame_, surface, geometry, grid_, {frame_.rect()});
        shown_ = drawn ? surface.copy() : QImage();
    } else {
        // The pixels under the last overlays, and where the surface changed, enlarged
        // again from the new surface; the new overlays are drawn over them below.
        std::vector<QRect> areas = std::move(overlaid_);
        if (drawn) {
            const std::vector<QRect> changed = Changed(surface, shown_, surfaceChanged);
            for (const QRect& rows : changed) {
                areas.push_back(QRect(screen.x() + rows.left() * scale, screen.y() + rows.top() * scale,
                                      rows.width() * scale, rows.height() * scale));
                // Copied, not shared, and only where it changed: the session draws into its surface again.
                for (int y = rows.top(); y <= rows.bottom(); ++y)
                    std::memcpy(shown_.scanLine(y) + rows.left() * sizeof(QRgb),
                                surface.constScanLine(y) + rows.left() * sizeof(QRgb),
                                static_cast<std::size_t>(rows.width()) * sizeof(QRgb));
            }
        }
        changed_ = Enlarge(frame_, surface, geometry, grid_, areas);
    }
    overlaid_.clear();

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
    if (overlays.guideX)
        PaintGuide(frame_, overlaid_, Qt::Vertical, screen.x() + *overlays.guideX * scale, screen.y(),
                   screen.y() + ScreenHeight * scale, width);
    if (overlays.guideY)
        PaintGuide(frame_, overlaid_, Qt::Horizontal, screen.y() + *overlays.guideY * scale, screen.x(),
                   screen.x() + ScreenWidth * scale, width);
    if (!overlays.band.isEmpty()) {
        QPainter painter(&frame_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(BandColor, width, Qt::DashLine));
        const QRect band(screen.x() + overlays.band.left() * scale, screen.y() + overlays.band.top() * scale,
                         overlays.band.width() * scale, overlays.band.height() * scale);
        painter.drawRect(band);
        AddOutlineArea(overlaid_, band, width);
    }
    for (const QRect& area : overlaid_)
        changed_ += area.intersected(frame_.rect());
    frame_.setDevicePixelRatio(geometry.ratio);
    return frame_;
}
