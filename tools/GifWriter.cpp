#include "GifWriter.h"

#include <QFile>

#include <gif_lib.h>

#include <stdexcept>

namespace {

int WriteToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

void Check(int result, const char* what)
{
    if (result == GIF_ERROR)
        throw std::runtime_error(std::string("GIF encoder failed: ") + what);
}

} // namespace

GifSpec SolidGif(int width, int height, QRgb color)
{
    GifSpec picture;
    picture.screenWidth = picture.width = width;
    picture.screenHeight = picture.height = height;
    picture.palette = {color, qRgb(0, 0, 0)};
    picture.pixels.assign(static_cast<std::size_t>(width * height), 0);
    return picture;
}

QByteArray EncodeGif(const GifSpec& picture)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToBuffer, &error);
    if (!gif)
        throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(gif, true); // GIF89a, so the transparency block is kept

    ColorMapObject* map = GifMakeMapObject(static_cast<int>(picture.palette.size()), nullptr);
    for (std::size_t i = 0; i < picture.palette.size(); ++i)
        map->Colors[i] = {static_cast<GifByteType>(qRed(picture.palette[i])),
                          static_cast<GifByteType>(qGreen(picture.palette[i])),
                          static_cast<GifByteType>(qBlue(picture.palette[i]))};
    const int bits = GifBitSize(static_cast<int>(picture.palette.size()));
    Check(EGifPutScreenDesc(gif, picture.screenWidth, picture.screenHeight, bits, 0,
                            picture.localColorMap ? nullptr : map), "screen");
    if (picture.transparentIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = picture.transparentIndex;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext), "extension");
    }
    Check(EGifPutImageDesc(gif, picture.left, picture.top, picture.width, picture.height, picture.interlaced,
                           picture.localColorMap ? map : nullptr), "image");
    std::vector<GifPixelType> pixels(picture.pixels.begin(), picture.pixels.end());
    pixels.resize(static_cast<std::size_t>(picture.width * picture.height), 0);
    auto putRow = [&](int y) {
        Check(EGifPutLine(gif, pixels.data() + static_cast<std::size_t>(y * picture.width), picture.width), "line");
    };
    if (picture.interlaced) {
        static constexpr int start[] = {0, 4, 2, 1};
        static constexpr int step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < picture.height; y += step[pass])
                putRow(y);
    } else {
        for (int y = 0; y < picture.height; ++y)
            putRow(y);
    }
    GifFreeMapObject(map);
    Check(EGifCloseFile(gif, &error), "close");
    return out;
}

void WriteGifFile(const QString& path, const GifSpec& picture)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeGif(picture)) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}
