#include "PreviewView.h"

namespace {

// Every pixel of the key colour (the one at the bottom-left corner) of surface, in
// format, put to replacement.
QImage Keyed(const QImage& surface, QImage::Format format, QRgb replacement)
{
    if (surface.isNull())
        return {};
    QImage keyed = surface.convertToFormat(format);
    const QRgb key = keyed.pixel(0, keyed.height() - 1) & RGB_MASK;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((row[x] & RGB_MASK) == key)
                row[x] = replacement;
        }
    }
    return keyed;
}

} // namespace

QImage ColourKeyed(const QImage& surface)
{
    return Keyed(surface, QImage::Format_ARGB32, qRgba(0, 0, 0, 0));
}

QImage ColourKeyedOver(const QImage& surface, QRgb seeThrough)
{
    return Keyed(surface, QImage::Format_RGB32, seeThrough | 0xFF000000u);
}
