#include "PreviewView.h"

QImage ColourKeyed(const QImage& surface)
{
    if (surface.isNull())
        return {};
    QImage keyed = surface.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1) & RGB_MASK;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((row[x] & RGB_MASK) == key)
                row[x] = qRgba(0, 0, 0, 0);
        }
    }
    return keyed;
}
