#include "ColorMarking.h"

#include "ColorKey.h"

#include <QPainter>

#include <algorithm>

namespace {

// Magenta, or green for a colour near magenta: a mark must stand out from what it marks.
QRgb SignalFor(QRgb color)
{
    const int r = qRed(color) - 255, g = qGreen(color), b = qBlue(color) - 255;
    return r * r + g * g + b * b < 200 * 200 ? qRgb(0, 255, 0) : qRgb(255, 0, 255);
}

// Two thirds of the way to the signal: still a shade of the colour's shape.
QRgb Tint(QRgb color, QRgb signal)
{
    const auto mix = [](int from, int to) { return from + (to - from) * 2 / 3; };
    return qRgb(mix(qRed(color), qRed(signal)), mix(qGreen(color), qGreen(signal)),
                mix(qBlue(color), qBlue(signal)));
}

bool Lists(const std::vector<int>& numbers, int number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

} // namespace

ColorMarking MarkColor(const ColorUses& uses, const QImage& surface, const std::vector<DrawnElement>& drawn,
                         const PictureSlots& pictures)
{
    const QRgb color = uses.color & RGB_MASK;
    ColorMarking marking{SignalFor(color), {}, surface};
    if (surface.isNull() || surface.format() != QImage::Format_RGB32)
        return marking;
    const QRgb key = KeyColor(surface);
    const QRgb tint = Tint(color, marking.signal);
    for (const DrawnElement& element : drawn) {
        const bool picture = element.category == SkinCategory::Pictures;
        if (picture ? !Lists(uses.pictures, element.picture)
                    : std::find(uses.elements.begin(), uses.elements.end(), KeyName(element.key)) == uses.elements.end())
            continue;
        marking.bounds.push_back(element.bounds);
        if (!picture || color == key)
            continue;
        // Only where the picture's own pixel of the colour still shows.
        const QImage& source = pictures[static_cast<std::size_t>(element.picture)];
        const QRect area = element.bounds.intersected(surface.rect());
        for (int y = area.top(); y <= area.bottom(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(marking.surface.scanLine(y));
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb pixel = source.pixel(x - element.bounds.left(), y - element.bounds.top());
                if ((line[x] & RGB_MASK) == color && qAlpha(pixel) == 255 && (pixel & RGB_MASK) == color)
                    line[x] = tint | ~RGB_MASK;
            }
        }
    }
    return marking;
}

QImage OutlinedMarking(const ColorMarking& marking)
{
    QImage shown = ColorKeyed(marking.surface);
    if (shown.isNull())
        return shown;
    QPainter painter(&shown);
    painter.setPen(QPen(QColor(marking.signal), 0));
    for (const QRect& bounds : marking.bounds)
        painter.drawRect(bounds.adjusted(-1, -1, 0, 0));
    return shown;
}
