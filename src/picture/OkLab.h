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
    OkLab operator()(QRgb colour) const;

private:
    std::array<float, 256> linear_{};
};

// The Euclidean distance of two colours in OKLab, and its square.
float DeltaE(const OkLab& x, const OkLab& y);
float DeltaESquared(const OkLab& x, const OkLab& y);
