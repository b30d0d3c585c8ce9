// Arbitrary bytes as a GIF picture. The decoder either gives a picture within the
// size limits, every pixel opaque or fully transparent, or throws SkinError; any
// other exception, crash, leak or sanitizer report is a finding.
#include "FuzzCheck.h"

#include "GifDecoder.h"
#include "SkinError.h"

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QImage image;
    try {
        image = DecodeGif(bytes);
    } catch (const SkinError&) {
        return 0;
    }
    FUZZ_REQUIRE(!image.isNull());
    // One byte a pixel as the file holds them, or four when all 256 indices are taken.
    FUZZ_REQUIRE(image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_ARGB32);
    FUZZ_REQUIRE(image.width() >= 1 && image.width() <= MaxGifSide);
    FUZZ_REQUIRE(image.height() >= 1 && image.height() <= MaxGifSide);
    if (image.format() == QImage::Format_Indexed8)
        FUZZ_REQUIRE(image.colorCount() == 256);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int alpha = qAlpha(pixel);
            FUZZ_REQUIRE(alpha == 0 || alpha == 255);
            // Transparent pixels are fully clear, so drawing them changes nothing.
            FUZZ_REQUIRE(alpha == 255 || pixel == 0);
        }
    }
    return 0;
}
