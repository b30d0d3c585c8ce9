#include "GifEncoding.h"

#include "SkinError.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct GifMapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

QByteArray EncodeIndexed(const Indexed& picture, int width, int height)
{
    int size = 2;
    while (size < static_cast<int>(picture.table.size()))
        size *= 2;
    std::unique_ptr<ColorMapObject, GifMapFree> map(GifMakeMapObject(size, nullptr));
    if (!map)
        throw SkinError("Not enough memory to write the GIF");
    for (int i = 0; i < size; ++i) {
        const QRgb c = i < static_cast<int>(picture.table.size()) ? picture.table[static_cast<std::size_t>(i)] : 0;
        map->Colors[i] = {static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                          static_cast<GifByteType>(qBlue(c))};
    }

    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToBuffer, &error);
    if (!gif)
        throw SkinError("Not enough memory to write the GIF");
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, width, height, GifBitSize(size), 0, map.get()) == GIF_OK;
    if (ok && picture.transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = picture.transparent;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&gcb, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(static_cast<std::size_t>(width));
    for (int y = 0; ok && y < height; ++y) {
        std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width, row.begin());
        ok = EGifPutLine(gif, row.data(), width) == GIF_OK;
    }
    const int writeError = gif->Error;
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        ok = false;
    if (!ok) {
        const char* reason = GifErrorString(writeError != 0 ? writeError : error);
        throw SkinError(std::string("The GIF cannot be written: ") + (reason ? reason : "giflib failed"));
    }
    return out;
}
