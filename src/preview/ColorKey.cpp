#include "ColorKey.h"

QRgb KeyColor(const QImage& surface)
{
    return surface.pixel(0, surface.height() - 1) & RGB_MASK;
}

QImage ColorKeyed(const QImage& surface)
{
    if (surface.isNull())
        return {};
    QImage keyed = surface.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = KeyColor(keyed);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            row[x] = KeyedPixel(row[x], key, qRgba(0, 0, 0, 0));
    }
    return keyed;
}
