// Random small RGBA pictures and options made into GIFs. The first bytes choose
// the size, the number of colours, dithering and a fixed palette; the rest are the
// pixels. The result must decode, at the picture's size, transparent exactly where
// the input's alpha is below 128; a refusal must be a SkinError.
#include "FuzzCheck.h"

#include "GifConversion.h"
#include "SkinError.h"

#include <QImage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const int width = 1 + data[0] % 32;
    const int height = 1 + data[1] % 32;
    ConversionOptions options;
    options.colors = MinGifColors + data[2] % (MaxGifColors - 1);
    options.dither = (data[3] & 1) != 0;
    data += 4;
    size -= 4;
    if ((data[-1] & 2) != 0 && size > 0) {
        // A palette of up to 16 entries from the next bytes, its transparent index among them or none.
        const int entries = 1 + data[0] % 16;
        GifColors palette;
        for (int i = 0; i < entries; ++i)
            palette.table.push_back(qRgb(data[0] * (i + 1), data[0] ^ (i * 37), i * 16));
        palette.transparent = (data[0] >> 4) < entries ? data[0] >> 4 : -1;
        options.palette = palette;
        ++data;
        --size;
    }
    QImage image(width, height, QImage::Format_ARGB32);
    std::size_t at = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, at += 4) {
            auto byte = [&](std::size_t k) { return size == 0 ? 0 : data[(at + k) % size]; };
            image.setPixel(x, y, qRgba(byte(0), byte(1), byte(2), byte(3)));
        }
    ConvertedGif converted;
    try {
        converted = ConvertToGif(image, options);
    } catch (const SkinError&) {
        return 0;
    }
    const QImage read = DecodeGif(converted.gif); // a GIF that does not decode throws: a finding
    FUZZ_REQUIRE(read.size() == image.size());
    FUZZ_REQUIRE(read == converted.picture);
    int transparent = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool clear = qAlpha(image.pixel(x, y)) < 128;
            FUZZ_REQUIRE(clear == (qAlpha(read.pixel(x, y)) == 0));
            transparent += clear;
        }
    FUZZ_REQUIRE(converted.transparentPixels == transparent);
    FUZZ_REQUIRE(converted.colorsAfter <= (options.palette ? 256 : options.colors));
    return 0;
}
