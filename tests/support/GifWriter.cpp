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
    GifSpec spec;
    spec.screenWidth = spec.width = width;
    spec.screenHeight = spec.height = height;
    spec.palette = {color, qRgb(0, 0, 0)};
    spec.pixels.assign(static_cast<std::size_t>(width * height), 0);
    return spec;
}

QByteArray EncodeGif(const GifSpec& spec)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToBuffer, &error);
    if (!gif)
        throw std::runtime_error("EGifOpen failed");
    EGifSetGifVersion(gif, true); // GIF89a, so the transparency block is kept

    ColorMapObject* map = GifMakeMapObject(static_cast<int>(spec.palette.size()), nullptr);
    for (std::size_t i = 0; i < spec.palette.size(); ++i)
        map->Colors[i] = {static_cast<GifByteType>(qRed(spec.palette[i])),
                          static_cast<GifByteType>(qGreen(spec.palette[i])),
                          static_cast<GifByteType>(qBlue(spec.palette[i]))};
    const int bits = GifBitSize(static_cast<int>(spec.palette.size()));
    Check(EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, bits, 0,
                            spec.localColorMap ? nullptr : map), "screen");
    if (spec.transparentIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = spec.transparentIndex;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext), "extension");
    }
    Check(EGifPutImageDesc(gif, spec.left, spec.top, spec.width, spec.height, spec.interlaced,
                           spec.localColorMap ? map : nullptr), "image");
    std::vector<GifPixelType> pixels(spec.pixels.begin(), spec.pixels.end());
    pixels.resize(static_cast<std::size_t>(spec.width * spec.height), 0);
    auto putRow = [&](int y) {
        Check(EGifPutLine(gif, pixels.data() + static_cast<std::size_t>(y * spec.width), spec.width), "line");
    };
    if (spec.interlaced) {
        static constexpr int start[] = {0, 4, 2, 1};
        static constexpr int step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < spec.height; y += step[pass])
                putRow(y);
    } else {
        for (int y = 0; y < spec.height; ++y)
            putRow(y);
    }
    GifFreeMapObject(map);
    Check(EGifCloseFile(gif, &error), "close");
    return out;
}

void WriteGifFile(const QString& path, const GifSpec& spec)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(EncodeGif(spec)) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}
