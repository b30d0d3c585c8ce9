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
    bool ranOut = false; // giflib asked for more than the file holds
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t want = length > 0 ? static_cast<std::size_t>(length) : 0;
    const std::size_t n = std::min(want, reader->size - reader->pos);
    if (n < want)
        reader->ranOut = true;
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

// giflib's reason, unless the data simply ended: a file cut short says so, not
// "Failed to read from given file".
[[noreturn]] void Fail(int error, const MemoryReader& reader)
{
    if (reader.ranOut)
        throw SkinError(reader.size == 0 ? "The file is empty" : "The file is truncated");
    const char* text = error != 0 ? GifErrorString(error) : nullptr;
    throw SkinError(text ? text : "The picture is not a valid GIF file");
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

QImage DecodeGif(const QByteArray& bytes, GifColors* colors)
{
    MemoryReader reader{reinterpret_cast<const GifByteType*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size()), 0};
    int openError = 0;
    GifHandle gif(DGifOpen(&reader, ReadFromMemory, &openError));
    if (!gif)
        Fail(openError, reader);

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
            Fail(gif->Error, reader);

        if (record == TERMINATE_RECORD_TYPE)
            throw SkinError("The picture holds no image");

        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                Fail(gif->Error, reader);
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
                GraphicsControlBlock gcb;
                // A malformed control block only means no transparency.
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                    transparent = gcb.TransparentColor;
            }
            while (block != nullptr) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    Fail(gif->Error, reader);
            }
            continue;
        }

        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            Fail(gif->Error, reader);
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
        QList<QRgb> palette(256, qRgb(0, 0, 0));
        const int count = std::clamp(map->ColorCount, 0, 256);
        for (int i = 0; i < count; ++i)
            palette[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        if (colors != nullptr) {
            colors->table.assign(palette.begin(), palette.begin() + count);
            colors->transparent = transparent >= 0 && transparent < count ? transparent : -1;
        }
        if (transparent >= 0 && transparent < 256)
            palette[transparent] = qRgba(0, 0, 0, 0);

        // One byte a pixel, as the file holds them: a skin of fifteen 1024x1024
        // pictures keeps 15 MB, not 60. Drawing converts only what lands on the screen.
        QImage image(screenWidth, screenHeight, QImage::Format_Indexed8);
        if (image.isNull())
            throw SkinError("Not enough memory for the picture");
        std::array<bool, 256> used{};
        // The part of the screen the frame covers; frames that reach outside it are clipped.
        const int left = std::clamp(desc.Left, 0, screenWidth);
        const int top = std::clamp(desc.Top, 0, screenHeight);
        const int right = std::clamp(desc.Left + desc.Width, 0, screenWidth);
        const int bottom = std::clamp(desc.Top + desc.Height, 0, screenHeight);

        // A frame that is the whole screen, the usual case, is read straight into it.
        if (desc.Left == 0 && desc.Top == 0 && desc.Width == screenWidth && desc.Height == screenHeight) {
            for (int y : RowOrder(desc.Height, desc.Interlace))
                if (DGifGetLine(gif.get(), image.scanLine(y), desc.Width) == GIF_ERROR)
                    Fail(gif->Error, reader);
            image.setColorTable(palette);
            return image;
        }
        std::vector<GifPixelType> row(static_cast<std::size_t>(desc.Width));
        for (int y : RowOrder(desc.Height, desc.Interlace)) {
            if (DGifGetLine(gif.get(), row.data(), desc.Width) == GIF_ERROR)
                Fail(gif->Error, reader);
            const int sy = desc.Top + y;
            if (sy < top || sy >= bottom)
                continue;
            uchar* line = image.scanLine(sy);
            for (int sx = left; sx < right; ++sx) {
                const GifPixelType index = row[static_cast<std::size_t>(sx - desc.Left)];
                used[index] = true;
                line[sx] = index;
            }
        }

        // Outside the frame nothing is drawn: those pixels take the transparent index,
        // or one the frame does not use, made transparent.
        if (left > 0 || top > 0 || right < screenWidth || bottom < screenHeight) {
            int clear = transparent >= 0 && transparent < 256 ? transparent : -1;
            for (int i = 0; i < 256 && clear < 0; ++i)
                if (!used[static_cast<std::size_t>(i)])
                    clear = i;
            if (clear < 0) {
                // All 256 indices in use: four bytes a pixel, with alpha.
                image.setColorTable(palette);
                QImage full = image.convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < screenHeight; ++y) {
                    auto* line = reinterpret_cast<QRgb*>(full.scanLine(y));
                    for (int x = 0; x < screenWidth; ++x)
                        if (y < top || y >= bottom || x < left || x >= right)
                            line[x] = qRgba(0, 0, 0, 0);
                }
                return full;
            }
            palette[clear] = qRgba(0, 0, 0, 0);
            const auto value = static_cast<uchar>(clear);
            for (int y = 0; y < screenHeight; ++y) {
                uchar* line = image.scanLine(y);
                if (y < top || y >= bottom || right <= left) {
                    std::memset(line, value, static_cast<std::size_t>(screenWidth));
                    continue;
                }
                std::memset(line, value, static_cast<std::size_t>(left));
                std::memset(line + right, value, static_cast<std::size_t>(screenWidth - right));
            }
        }
        image.setColorTable(palette);
        return image;
    }
}
