#pragma once
// A picture of palette indices written as GIF bytes, in memory.
#include <QByteArray>
#include <QRgb>

#include <cstdint>
#include <vector>

// The colour table and each pixel's index into it.
struct Indexed {
    std::vector<QRgb> table;
    int transparent = -1;
    std::vector<std::uint8_t> pixels;
};

// GIF89a, one frame as large as the logical screen, a power-of-two colour table,
// a control block only for a transparent index, and nothing else. Throws SkinError.
QByteArray EncodeIndexed(const Indexed& picture, int width, int height);
