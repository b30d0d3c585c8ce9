#include "GifWriter.h"
#include "GifDecoder.h"
#include "GifFile.h"
#include "SkinError.h"
#include "TestSkin.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

GifSpec TwoColorFrame()
{
    // A 3×2 frame at (2, 1) inside a 6×4 screen: red, blue, red / blue, red, blue.
    GifSpec picture;
    picture.screenWidth = 6;
    picture.screenHeight = 4;
    picture.left = 2;
    picture.top = 1;
    picture.width = 3;
    picture.height = 2;
    picture.palette = {kRed, kBlue};
    picture.pixels = {0, 1, 0, 1, 0, 1};
    return picture;
}

TEST(GifDecoding, PlacesTheFirstFrameAtItsOffsetInsideTheLogicalScreen)
{
    const QImage image = DecodeGif(EncodeGif(TwoColorFrame()));
    ASSERT_EQ(image.size(), QSize(6, 4));
    EXPECT_EQ(image.depth(), 8); // a byte a pixel, as the file holds them: 1 MB for a 1024x1024 picture
    EXPECT_EQ(image.pixel(2, 1), kRed);
    EXPECT_EQ(image.pixel(3, 1), kBlue);
    EXPECT_EQ(image.pixel(4, 2), kBlue);
    // Outside the frame nothing is painted.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(5, 3)), 0);
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
}

TEST(GifDecoding, TransparentIndexLeavesPixelsClear)
{
    GifSpec picture = TwoColorFrame();
    picture.transparentIndex = 1;
    const QImage image = DecodeGif(EncodeGif(picture));
    EXPECT_EQ(image.pixel(2, 1), kRed);
    EXPECT_EQ(qAlpha(image.pixel(3, 1)), 0);
}

TEST(GifDecoding, InterlacedAndLocalColorMapsDecodeTheSame)
{
    GifSpec picture;
    picture.screenWidth = picture.width = 2;
    picture.screenHeight = picture.height = 11;
    picture.palette = {kRed, kBlue};
    for (int y = 0; y < 11; ++y)
        picture.pixels.insert(picture.pixels.end(), {static_cast<std::uint8_t>(y % 2), static_cast<std::uint8_t>(y % 3 == 0)});
    const QImage plain = DecodeGif(EncodeGif(picture));
    picture.interlaced = true;
    picture.localColorMap = true;
    EXPECT_EQ(DecodeGif(EncodeGif(picture)), plain);
    EXPECT_EQ(plain.pixel(0, 1), kBlue);
    EXPECT_EQ(plain.pixel(1, 3), kBlue);
}

TEST(GifDecoding, FramesReachingOutsideTheScreenAreClipped)
{
    GifSpec picture = TwoColorFrame();
    picture.left = 5;
    picture.top = 3;
    const QImage image = DecodeGif(EncodeGif(picture));
    ASSERT_EQ(image.size(), QSize(6, 4));
    EXPECT_EQ(image.pixel(5, 3), kRed);
}

TEST(GifDecoding, PixelIndicesPastTheColorMapAreBlack)
{
    GifSpec picture = TwoColorFrame();
    picture.palette = {kRed, kBlue, kRed, kRed};
    picture.pixels = {3, 2, 1, 0, 0, 0};
    QByteArray bytes = EncodeGif(picture);
    // Shrink the global colour table's declared size from 4 to 2 entries while keeping
    // the bytes: indices 2 and 3 now lie past the map.
    bytes[10] = static_cast<char>((bytes[10] & ~0x07) | 0x00);
    bytes.remove(13 + 6, 6);
    const QImage image = DecodeGif(bytes);
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(4, 1), kBlue);
}

QByteArray HeaderOnly(int width, int height)
{
    // "GIF89a", a logical screen of the given size with no colour table, then nothing.
    QByteArray bytes("GIF89a");
    bytes.append(static_cast<char>(width & 0xFF)).append(static_cast<char>(width >> 8));
    bytes.append(static_cast<char>(height & 0xFF)).append(static_cast<char>(height >> 8));
    bytes.append('\0').append('\0').append('\0');
    return bytes;
}

TEST(GifDecoding, HostileOrBrokenFilesGiveAClearErrorNeverACrash)
{
    const QByteArray good = EncodeGif(TwoColorFrame());
    QByteArray huge = HeaderOnly(65535, 65535);
    huge.append(",").append(QByteArray(8, '\0')).append('\0'); // image descriptor, would be 65535² if allocated

    QByteArray bigFrame = HeaderOnly(10, 10);
    bigFrame.append(',');
    bigFrame.append(QByteArray("\0\0\0\0\xff\xff\xff\xff\x00", 9));

    QByteArray noImage = HeaderOnly(10, 10);
    noImage.append(';');

    QByteArray noColorMap = HeaderOnly(2, 1);
    noColorMap.append(',').append(QByteArray("\0\0\0\0\x02\0\x01\0\x00", 9)).append("\x02\x02\x44\x01\x00;", 6);

    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"text", QByteArray("Artist = 1 2 3")},
        {"screen over the limit", huge},
        {"frame over the limit", bigFrame},
        {"no image", noImage},
        {"no colour map", noColorMap},
        {"truncated", good.left(good.size() - 4)},
        {"header only", good.left(13)},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_THROW(DecodeGif(bytes), SkinError) << name;
}

// A file cut short says so instead of giflib's "Failed to read from given file".
TEST(GifDecoding, AnEmptyOrTruncatedFileSaysSo)
{
    const QByteArray good = EncodeGif(TwoColorFrame());
    const std::pair<QByteArray, std::string> cases[] = {
        {QByteArray(), "The file is empty"},
        {good.left(5), "The file is truncated"},
        {good.left(13), "The file is truncated"},
        {good.left(good.size() - 4), "The file is truncated"},
    };
    for (const auto& [bytes, expected] : cases) {
        try {
            DecodeGif(bytes);
            ADD_FAILURE() << bytes.size() << " bytes decoded";
        } catch (const SkinError& error) {
            EXPECT_EQ(std::string(error.what()), expected) << bytes.size() << " bytes";
        }
    }
}

TEST(GifDecoding, RandomBytesAfterAValidHeaderNeverCrash)
{
    const QByteArray good = EncodeGif(TwoColorFrame());
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = good;
        const int flips = 1 + round % 6;
        for (int k = 0; k < flips; ++k)
            bytes[static_cast<int>(random() % static_cast<unsigned>(bytes.size()))] = static_cast<char>(random());
        try {
            const QImage image = DecodeGif(bytes);
            EXPECT_LE(image.width(), MaxGifSide);
            EXPECT_LE(image.height(), MaxGifSide);
        } catch (const SkinError&) {
        }
    }
}

TEST(GifFiles, ErrorsNameTheFile)
{
    TestSkin dir;
    dir.WriteBytes("bad.gif", "not a picture");
    try {
        LoadGifFile(dir.Path("bad.gif"));
        FAIL();
    } catch (const SkinError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot read picture \"" + dir.Path("bad.gif").toStdString() + "\". ", 0), 0u)
            << e.what();
    }
    EXPECT_THROW(LoadGifFile(dir.Path("missing.gif")), SkinError);
}

} // namespace
