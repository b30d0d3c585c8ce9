#include "OkLab.h"

#include <cmath>

OkLabConverter::OkLabConverter()
{
    for (int i = 0; i < 256; ++i) {
        const double c = i / 255.0;
        linear_[static_cast<std::size_t>(i)] =
            static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
}

OkLab OkLabConverter::operator()(QRgb colour) const
{
    const float r = linear_[static_cast<std::size_t>(qRed(colour))];
    const float g = linear_[static_cast<std::size_t>(qGreen(colour))];
    const float b = linear_[static_cast<std::size_t>(qBlue(colour))];
    const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

float DeltaESquared(const OkLab& x, const OkLab& y)
{
    const float dL = x.L - y.L;
    const float da = x.a - y.a;
    const float db = x.b - y.b;
    return dL * dL + da * da + db * db;
}

float DeltaE(const OkLab& x, const OkLab& y)
{
    return std::sqrt(DeltaESquared(x, y));
}
