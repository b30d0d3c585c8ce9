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
    FUZZ_REQUIRE(image.format() == QImage::Format_ARGB32);
    FUZZ_REQUIRE(image.width() >= 1 && image.width() <= MaxGifSide);
    FUZZ_REQUIRE(image.height() >= 1 && image.height() <= MaxGifSide);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            FUZZ_REQUIRE(alpha == 0 || alpha == 255);
            // Transparent pixels are fully clear, so drawing them changes nothing.
            FUZZ_REQUIRE(alpha == 255 || line[x] == 0);
        }
    }
    return 0;
}
