#pragma once
// A picture's opaque colours counted, and reduced with libimagequant.
#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

// The opaque pixels of a picture: each pixel's colour as an index into the
// picture's distinct colours, in the order they first appear.
struct OpaqueColors {
    int width = 0;
    int height = 0;
    std::vector<QRgb> colors;         // distinct, alpha 255
    std::vector<unsigned> counts;      // pixels of each colour
    std::vector<std::int32_t> colorOf; // per pixel; -1 for a transparent one
    int transparent = 0;
};

// The opaque colours of image (alpha 128 or more).
OpaqueColors ReadOpaqueColors(const QImage& image);

// Reduces the opaque colours to at most maxColors (2 or more) with libimagequant,
// or onto fixed, when given, as its only colours. The pixels of transparent ones
// are left for the caller.
std::vector<QRgb> Quantize(const OpaqueColors& input, int maxColors, bool dither, const std::vector<QRgb>* fixed,
                           std::vector<std::uint8_t>& pixels);
