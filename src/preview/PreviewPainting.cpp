#include "PreviewPainting.h"

#include <QPaintDevice>

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t BoundsLimit = std::int64_t{1} << 24;

} // namespace

QColor ToQColor(RgbColor color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

int DeviceWidth(const QPainter& painter)
{
    return painter.device() ? painter.device()->width() : ScreenWidth;
}

int DeviceHeight(const QPainter& painter)
{
    return painter.device() ? painter.device()->height() : ScreenHeight;
}

int Limit(std::int64_t value, int size)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, -2, static_cast<std::int64_t>(size) + 2));
}

int Saturate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
}

bool MeetsDevice(const QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
                 std::int64_t bottom)
{
    if (!(right > 0 && bottom > 0 && left < DeviceWidth(painter) && top < DeviceHeight(painter)
          && right > left && bottom > top))
        return false;
    if (!painter.hasClipping())
        return true;
    const QRectF clip = painter.clipBoundingRect();
    return right > clip.left() && bottom > clip.top() && left < clip.right() && top < clip.bottom();
}

void Record(std::vector<DrawnElement>* drawn, SkinCategory category, const char* key, std::int64_t left,
            std::int64_t top, std::int64_t right, std::int64_t bottom, bool mirrored)
{
    if (drawn == nullptr || right <= left || bottom <= top)
        return;
    const auto at = [](std::int64_t value) {
        return static_cast<int>(std::clamp<std::int64_t>(value, -BoundsLimit, BoundsLimit));
    };
    drawn->push_back(DrawnElement{category, key, QRect(QPoint(at(left), at(top)), QPoint(at(right) - 1, at(bottom) - 1)),
                                  mirrored});
}
