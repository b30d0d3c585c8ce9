#include "GifDecoder.h"

#include "SkinError.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct MemoryReader {
    const GifByteType* data;
    std::size_t size;
    std::size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t want = length > 0 ? static_cast<std::size_t>(length) : 0;
    const std::size_t n = std::min(want, reader->size - reader->pos);
    std::memcpy(out, reader->data + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(int error)
{
    const char* text = error != 0 ? GifErrorString(error) : nullptr;
    throw SkinError(text ? text : "The picture is not a valid GIF file");
}

[[noreturn]] void FailWith(const GifFileType* gif)
{
    Fail(gif->Error);
}

// Rows of an interlaced frame arrive in four passes.
std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    static constexpr int start[] = {0, 4, 2, 1};
    static constexpr int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass])
            rows.push_back(y);
    }
    return rows;
}

} // namespace

QImage DecodeGif(const QByteArray& bytes, GifColours* colours)
{
    MemoryReader reader{reinterpret_cast<const GifByteType*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size()), 0};
    int openError = 0;
    GifHandle gif(DGifOpen(&reader, ReadFromMemory, &openError));
    if (!gif)
        Fail(openError);

    const int screenWidth = gif->SWidth;
    const int screenHeight = gif->SHeight;
    if (screenWidth <= 0 || screenHeight <= 0)
        throw SkinError("The picture has no size");
    if (screenWidth > MaxGifSide || screenHeight > MaxGifSide)
        throw SkinError("The picture is larger than " + std::to_string(MaxGifSide) + "x"
                        + std::to_string(MaxGifSide) + " pixels");

    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            FailWith(gif.get());

        if (record == TERMINATE_RECORD_TYPE)
            throw SkinError("The picture holds no image");

        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                FailWith(gif.get());
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
                GraphicsControlBlock gcb;
                // A malformed control block only means no transparency.
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    FailWith(gif.get());
            }
            continue;
        }

        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            FailWith(gif.get());
        const GifImageDesc& desc = gif->Image;
        if (desc.Width <= 0 || desc.Height <= 0)
            throw SkinError("The picture's image has no size");
        if (desc.Width > MaxGifSide || desc.Height > MaxGifSide)
            throw SkinError("The picture's image is larger than " + std::to_string(MaxGifSide) + "x"
                            + std::to_string(MaxGifSide) + " pixels");
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr || map->Colors == nullptr)
            throw SkinError("The picture has no colour table");

        // A full table: indices past the file's colours are black, never out of bounds.
        std::array<QRgb, 256> palette;
        palette.fill(qRgb(0, 0, 0));
        const int count = std::clamp(map->ColorCount, 0, 256);
        for (int i = 0; i < count; ++i)
            palette[static_cast<std::size_t>(i)] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        if (colours != nullptr) {
            colours->table.assign(palette.begin(), palette.begin() + count);
            colours->transparent = transparent >= 0 && transparent < count ? transparent : -1;
        }

        QImage image(screenWidth, screenHeight, QImage::Format_ARGB32);
        if (image.isNull())
            throw SkinError("Not enough memory for the picture");
        image.fill(Qt::transparent);

        std::vector<GifPixelType> row(static_cast<std::size_t>(desc.Width));
        for (int y : RowOrder(desc.Height, desc.Interlace)) {
            if (DGifGetLine(gif.get(), row.data(), desc.Width) == GIF_ERROR)
                FailWith(gif.get());
            // Frames that reach outside the logical screen are clipped to it.
            const int sy = desc.Top + y;
            if (sy < 0 || sy >= screenHeight)
                continue;
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(sy));
            for (int x = 0; x < desc.Width; ++x) {
                const int sx = desc.Left + x;
                if (sx >= screenWidth)
                    break;
                if (row[static_cast<std::size_t>(x)] == transparent)
                    continue;
                line[sx] = palette[row[static_cast<std::size_t>(x)]];
            }
        }
        return image;
    }
}
