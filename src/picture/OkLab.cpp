#include "OkLab.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <numbers>

namespace {

// The cube root of 0 to 1 as a float: libm's cbrtf took four fifths of each colour's
// conversion, and a picture of many colours converts tens of thousands. A guess from
// the exponent bits, then two Halley steps in double, which leave less than a float's
// rounding.
float CubeRoot(float x)
{
    if (!(x > 0))
        return 0;
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x) / 3 + 0x2a5137a0u;
    double y = std::bit_cast<float>(bits);
    for (int step = 0; step < 2; ++step) {
        const double y3 = y * y * y;
        y *= (y3 + 2.0 * x) / (2.0 * y3 + x);
    }
    return static_cast<float>(y);
}

} // namespace

OkLabConverter::OkLabConverter()
{
    for (int i = 0; i < 256; ++i) {
        const double c = i / 255.0;
        linear_[static_cast<std::size_t>(i)] =
            static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
}

OkLab OkLabConverter::operator()(QRgb color) const
{
    const float r = linear_[static_cast<std::size_t>(qRed(color))];
    const float g = linear_[static_cast<std::size_t>(qGreen(color))];
    const float b = linear_[static_cast<std::size_t>(qBlue(color))];
    const float l = CubeRoot(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = CubeRoot(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = CubeRoot(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
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

OkLch ToOkLch(const OkLab& lab)
{
    float h = std::atan2(lab.b, lab.a) * 180.0f / std::numbers::pi_v<float>;
    if (h < 0)
        h += 360.0f;
    return {lab.L, std::hypot(lab.a, lab.b), h};
}

OkLab FromOkLch(const OkLch& lch)
{
    const float h = lch.h * std::numbers::pi_v<float> / 180.0f;
    return {lch.L, lch.C * std::cos(h), lch.C * std::sin(h)};
}

LinearRgb LinearOfOkLab(const OkLab& lab)
{
    const float l = lab.L + 0.3963377774f * lab.a + 0.2158037573f * lab.b;
    const float m = lab.L - 0.1055613458f * lab.a - 0.0638541728f * lab.b;
    const float s = lab.L - 0.0894841775f * lab.a - 1.2914855480f * lab.b;
    const float l3 = l * l * l;
    const float m3 = m * m * m;
    const float s3 = s * s * s;
    return {4.0767416621f * l3 - 3.3077115913f * m3 + 0.2309699292f * s3,
            -1.2684380046f * l3 + 2.6097574011f * m3 - 0.3413193965f * s3,
            -0.0041960863f * l3 - 0.7034186147f * m3 + 1.7076147010f * s3};
}

bool InsideSrgb(const LinearRgb& color)
{
    // The margin absorbs the arithmetic's rounding, so sRGB's own colours count as inside.
    constexpr float margin = 1e-4f;
    for (const float c : {color.r, color.g, color.b}) {
        if (c < -margin || c > 1 + margin)
            return false;
    }
    return true;
}

QRgb RgbOfLinear(const LinearRgb& color)
{
    const auto encode = [](float c) {
        const double v = std::clamp(static_cast<double>(c), 0.0, 1.0);
        const double e = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
        return static_cast<int>(std::lround(e * 255));
    };
    return qRgb(encode(color.r), encode(color.g), encode(color.b));
}
