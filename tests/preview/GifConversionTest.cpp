// Pictures made into GIFs: what every reader reads back, where the transparent
// index goes, and the colour error against Qt's own conversion.
#include "GifConversion.h"
#include "TestImages.h"
#include "TestSkin.h"

#include <QBuffer>
#include <QImageReader>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <vector>

namespace {

// The frame's raw indices and transparent index as giflib's own reader gives them.
struct RawGif {
    int width = 0, height = 0;
    std::vector<GifByteType> indices;
    std::vector<QRgb> table;
    int transparent = -1;
    int extensionBlocks = 0;
    int frames = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* out, int length)
{
    auto* bytes = static_cast<QByteArray*>(gif->UserData);
    const int n = std::min<int>(length, static_cast<int>(bytes->size()));
    std::memcpy(out, bytes->constData(), static_cast<std::size_t>(n));
    bytes->remove(0, n);
    return n;
}

RawGif Slurp(QByteArray bytes)
{
    int error = 0;
    GifFileType* gif = DGifOpen(&bytes, ReadMemory, &error);
    EXPECT_TRUE(gif != nullptr);
    RawGif raw;
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "giflib cannot read it";
        return raw;
    }
    raw.width = gif->SWidth;
    raw.height = gif->SHeight;
    raw.frames = gif->ImageCount;
    const SavedImage& frame = gif->SavedImages[0];
    EXPECT_EQ(frame.ImageDesc.Width, gif->SWidth);
    EXPECT_EQ(frame.ImageDesc.Height, gif->SHeight);
    raw.indices.assign(frame.RasterBits, frame.RasterBits + gif->SWidth * gif->SHeight);
    for (int i = 0; i < gif->SColorMap->ColorCount; ++i)
        raw.table.push_back(qRgb(gif->SColorMap->Colors[i].Red, gif->SColorMap->Colors[i].Green,
                                 gif->SColorMap->Colors[i].Blue));
    raw.extensionBlocks = frame.ExtensionBlockCount + gif->ExtensionBlockCount;
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK)
        raw.transparent = gcb.TransparentColor;
    DGifCloseFile(gif, &error);
    return raw;
}

// Qt's reading, a transparent pixel as 0 whatever colour its entry holds.
QImage QtReads(const QByteArray& gif)
{
    QImage image = QImage::fromData(gif, "GIF").convertToFormat(QImage::Format_ARGB32);
    EXPECT_FALSE(image.isNull());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                image.setPixel(x, y, 0u);
    return image;
}

// What a GIF should show for image: its colour where alpha >= 128, else nothing.
QImage Expected(const QImage& image)
{
    QImage expected = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb p = expected.pixel(x, y);
            expected.setPixel(x, y, qAlpha(p) < 128 ? 0u : (p | 0xff000000u));
        }
    return expected;
}

// Our decoder, Qt's reader and giflib agree with each other and with picture.
void ExpectEveryReaderSees(const ConvertedGif& converted, const QImage& shown)
{
    // Compared as colours: the decoder keeps a picture a byte a pixel.
    const auto argb = [](const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); };
    const QImage picture = argb(shown);
    EXPECT_EQ(argb(DecodeGif(converted.gif)), picture);
    EXPECT_EQ(argb(QtReads(converted.gif)), picture);
    const RawGif raw = Slurp(converted.gif);
    ASSERT_EQ(raw.width, picture.width());
    for (int y = 0; y < raw.height; ++y)
        for (int x = 0; x < raw.width; ++x) {
            const GifByteType index = raw.indices[static_cast<std::size_t>(y * raw.width + x)];
            const QRgb seen = index == raw.transparent ? 0u : raw.table[index];
            ASSERT_EQ(seen, picture.pixel(x, y)) << x << "," << y;
        }
}

// w x h, colours distinct opaque colours in turn, every seventh pixel transparent (alpha 0..127) when asked.
QImage Colors(int width, int height, int colors, bool transparent)
{
    QImage image(width, height, QImage::Format_ARGB32);
    std::mt19937 random(5);
    for (int i = 0; i < width * height; ++i) {
        const int c = i % colors;
        const bool clear = transparent && i % 7 == 6;
        image.setPixel(i % width, i / width,
                       qRgba(c * 7 % 256, c * 13 % 256, c, clear ? int(random() % 128) : 128 + int(random() % 128)));
    }
    return image;
}

} // namespace

TEST(GifConversion, FewColorsWithTransparencyRoundTripExactlyThroughEveryReader)
{
    const QImage image = Colors(40, 33, 255, true);
    const ConvertedGif converted = ConvertToGif(image);
    ASSERT_TRUE(converted.gif.startsWith("GIF89a"));
    EXPECT_EQ(converted.colorsBefore, 255);
    EXPECT_EQ(converted.colorsAfter, 255);
    EXPECT_EQ(converted.largestError, 0);
    EXPECT_EQ(converted.transparentPixels, 40 * 33 / 7);
    ExpectEveryReaderSees(converted, Expected(image));
    const RawGif raw = Slurp(converted.gif);
    EXPECT_EQ(raw.frames, 1);
    EXPECT_EQ(raw.table.size(), 256u);
    EXPECT_EQ(raw.extensionBlocks, 1); // the control block alone
}

TEST(GifConversion, TwoHundredFiftySixColorsWithoutTransparencyAreExactWithoutControlBlock)
{
    const QImage image = Colors(64, 20, 256, false);
    const ConvertedGif converted = ConvertToGif(image);
    EXPECT_EQ(converted.colorsAfter, 256);
    EXPECT_EQ(converted.largestError, 0);
    ExpectEveryReaderSees(converted, Expected(image));
    const RawGif raw = Slurp(converted.gif);
    EXPECT_EQ(raw.transparent, -1);
    EXPECT_EQ(raw.extensionBlocks, 0);
}

TEST(GifConversion, TheTransparentIndexIsExactlyTheClearPixelsAndNoOpaqueOnes)
{
    // Exact, reduced and dithered, and onto a fixed palette without a transparent entry.
    GifColors fixed{{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)}, -1};
    QImage many = NoiseField(60, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x)
            if ((x - 30) * (x - 30) + (y - 25) * (y - 25) > 400)
                many.setPixel(x, y, qRgba(qRed(many.pixel(x, y)), 0, 0, (x * y) % 128));
    for (const QImage& image : {Colors(16, 16, 255, true), many}) {
        for (int variant = 0; variant < 4; ++variant) {
            ConversionOptions options;
            options.colors = variant == 1 ? 7 : 256;
            options.dither = variant >= 2;
            if (variant == 3)
                options.palette = fixed;
            const ConvertedGif converted = ConvertToGif(image, options);
            const RawGif raw = Slurp(converted.gif);
            ASSERT_GE(raw.transparent, 0);
            for (std::size_t i = 0; i < raw.indices.size(); ++i) {
                const bool clear = qAlpha(image.pixel(int(i) % image.width(), int(i) / image.width())) < 128;
                ASSERT_EQ(raw.indices[i] == raw.transparent, clear) << "variant " << variant << " pixel " << i;
            }
            ExpectEveryReaderSees(converted, converted.picture);
            if (variant == 3) { // appended after the four colours, which keep their places
                EXPECT_EQ(raw.transparent, 4);
                EXPECT_EQ(std::vector<QRgb>(raw.table.begin(), raw.table.begin() + 4), fixed.table);
            }
        }
    }
}

TEST(GifConversion, BeatsQtsOwnConversionOnTheTestPictures)
{
    const QImage gradient = GradientWithAlphaEdge();
    const QImage noise = NoiseField();
    const QImage art = PixelArt();
    auto qt = [](const QImage& image) {
        return std::min(MeanDeltaE(image, image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)),
                        MeanDeltaE(image, image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither)));
    };
    const ConvertedGif ours = ConvertToGif(gradient);
    EXPECT_LE(ours.meanError, 0.35 * qt(gradient));
    EXPECT_NEAR(MeanDeltaE(gradient, ours.picture), ours.meanError, 1e-4); // the error is of what was written
    EXPECT_LE(ConvertToGif(noise).meanError, 0.85 * qt(noise));
    const ConvertedGif pixelArt = ConvertToGif(art);
    EXPECT_EQ(pixelArt.largestError, 0);
    EXPECT_EQ(pixelArt.picture.convertToFormat(QImage::Format_ARGB32), Expected(art));
}

TEST(GifConversion, RefusesWhatCannotBeAGif)
{
    EXPECT_EQ(ErrorOf([] { ConvertToGif(QImage(1025, 4, QImage::Format_ARGB32)); }),
              "The picture is 1025x4 pixels, larger than 1024x1024");
    ConversionOptions one;
    one.colors = 1;
    EXPECT_NE(ErrorOf([&] { ConvertToGif(Colors(4, 4, 3, false), one); }), "<no error>");
    ConversionOptions full;
    full.palette = GifColors{std::vector<QRgb>(256, qRgb(1, 2, 3)), -1};
    EXPECT_NE(ErrorOf([&] { ConvertToGif(Colors(4, 4, 3, true), full); }), "<no error>");
}
