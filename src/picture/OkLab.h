#pragma once
// Colour differences as the eye sees them: OKLab, where a distance of 0.01 is
// about the smallest step between two flat colours anyone notices.
#include <QRgb>

#include <array>

struct OkLab {
    float L = 0;
    float a = 0;
    float b = 0;
};

// Converts sRGB colours (alpha ignored); holds the table of the sRGB curve.
class OkLabConverter {
public:
    OkLabConverter();
    OkLab operator()(QRgb color) const;

private:
    std::array<float, 256> linear_{};
};

// The Euclidean distance of two colours in OKLab, and its square.
float DeltaE(const OkLab& x, const OkLab& y);
float DeltaESquared(const OkLab& x, const OkLab& y);

// OKLab as lightness, chroma and hue (degrees, 0 to 360): where a colour edition
// turns hues and scales chroma without changing how light a colour looks.
struct OkLch {
    float L = 0;
    float C = 0;
    float h = 0;
};
OkLch ToOkLch(const OkLab& lab);
OkLab FromOkLch(const OkLch& lch);

// Linear sRGB, each channel 0 to 1 inside the gamut; outside it for colours sRGB
// cannot show.
struct LinearRgb {
    float r = 0;
    float g = 0;
    float b = 0;
};
LinearRgb LinearOfOkLab(const OkLab& lab);
bool InsideSrgb(const LinearRgb& color);
// The opaque 8-bit sRGB colour nearest to colour, each channel clamped to 0 to 1 first.
QRgb RgbOfLinear(const LinearRgb& color);
