#include "PreviewPainting.h"

#include <QPaintDevice>
#include <QRegion>

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t BoundsLimit = std::int64_t{1} << 24;

} // namespace

void PreparePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBackgroundMode(Qt::OpaqueMode); // DrawTexts switches it to transparent
}

QColor ToQColor(RgbColor color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

PreviewPaint::PreviewPaint(QPainter& painter, PreviewCache* cache, const std::vector<QRect>* clip)
    : painter(painter), cache(cache), width(painter.device() ? painter.device()->width() : ScreenWidth),
      height(painter.device() ? painter.device()->height() : ScreenHeight), clipped(clip != nullptr)
{
    const QRect device(0, 0, width, height);
    if (clip == nullptr) {
        parts.push_back(device);
        return;
    }
    for (const QRect& rect : *clip) {
        const QRect part = rect.intersected(device);
        if (part.isEmpty())
            continue;
        if (std::none_of(parts.begin(), parts.end(), [&](const QRect& other) { return other.intersects(part); })) {
            parts.push_back(part);
            continue;
        }
        // What the parts before do not hold yet, in pieces.
        QRegion rest(part);
        for (const QRect& other : parts)
            rest -= other;
        parts.insert(parts.end(), rest.begin(), rest.end());
    }
}

int Saturate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
}

QRect LimitedRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    if (right <= left || bottom <= top)
        return {};
    const auto at = [](std::int64_t value) {
        return static_cast<int>(std::clamp<std::int64_t>(value, -BoundsLimit, BoundsLimit));
    };
    return QRect(QPoint(at(left), at(top)), QPoint(at(right) - 1, at(bottom) - 1));
}

void Record(std::vector<DrawnElement>* drawn, SkinCategory category, const char* key, std::int64_t left,
            std::int64_t top, std::int64_t right, std::int64_t bottom, bool mirrored)
{
    if (drawn == nullptr || right <= left || bottom <= top)
        return;
    const QRect bounds = LimitedRect(left, top, right, bottom);
    drawn->push_back(DrawnElement{category, key, bounds, mirrored, -1, bounds});
}
