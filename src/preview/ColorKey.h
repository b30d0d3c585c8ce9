#pragma once
// The preview's see-through colour: pixels in the surface's bottom-left colour show
// what lies beneath. Every view of the surface keys it here.
#include <QImage>

// The key colour of a non-null surface: its bottom-left pixel's RGB.
QRgb KeyColor(const QImage& surface);

// A pixel as the preview shows it over seeThrough.
inline QRgb KeyedPixel(QRgb pixel, QRgb key, QRgb seeThrough)
{
    return (pixel & RGB_MASK) == key ? seeThrough : pixel;
}

// The surface with every pixel of the key colour made fully transparent. A null
// surface gives a null image.
QImage ColorKeyed(const QImage& surface);
