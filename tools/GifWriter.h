#pragma once
// Writes GIF pictures with giflib's encoder: test fixtures and the example skin
// are described in code instead of carried as binary blobs.
#include <QByteArray>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <vector>

struct GifSpec {
    int screenWidth = 1;
    int screenHeight = 1;
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    std::vector<QRgb> palette{qRgb(0, 0, 0), qRgb(255, 255, 255)}; // size a power of two
    std::vector<std::uint8_t> pixels;                                // width*height indices, row by row
    int transparentIndex = -1;
    bool interlaced = false;
    bool localColorMap = false;
};

// A w×h picture whose every pixel is colour.
GifSpec SolidGif(int width, int height, QRgb color);

QByteArray EncodeGif(const GifSpec& picture);
void WriteGifFile(const QString& path, const GifSpec& picture);
