#include "GifConversion.h"

#include "ColorReduction.h"
#include "GifEncoding.h"
#include "OkLab.h"
#include "PictureImport.h"
#include "SkinError.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// A colour for the transparent entry that no opaque entry has, so that a program
// keying on the colour instead of the index finds the same pixels.
QRgb FreeColor(const std::vector<QRgb>& taken)
{
    for (int k = 0;; ++k) {
        const QRgb candidate = qRgb(255, k & 0xff, 255 - (k >> 8));
        if (std::find(taken.begin(), taken.end(), candidate) == taken.end())
            return candidate;
    }
}

// Index of the entry of table nearest to colour in OKLab, over every entry but skip.
class NearestEntry {
public:
    NearestEntry(const std::vector<QRgb>& table, int skip, const OkLabConverter& lab) : lab_(lab)
    {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (static_cast<int>(i) != skip) {
                indices_.push_back(static_cast<std::uint8_t>(i));
                entries_.push_back(lab(table[i]));
            }
        }
    }
    bool Empty() const { return indices_.empty(); }
    std::uint8_t operator()(QRgb color) const
    {
        const OkLab want = lab_(color);
        std::size_t best = 0;
        float bestDistance = std::numeric_limits<float>::max();
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            const float d = DeltaESquared(want, entries_[i]);
            if (d < bestDistance) { // ties: the first entry
                bestDistance = d;
                best = i;
            }
        }
        return indices_[best];
    }

private:
    const OkLabConverter& lab_;
    std::vector<std::uint8_t> indices_;
    std::vector<OkLab> entries_;
};

// Every pixel of a transparent colour gets the transparent index.
void MarkTransparent(const OpaqueColors& input, Indexed& out)
{
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        if (input.colorOf[i] < 0)
            out.pixels[i] = static_cast<std::uint8_t>(out.transparent);
}

Indexed ToNewPalette(const OpaqueColors& input, const ConversionOptions& options)
{
    if (options.colors < MinGifColors || options.colors > MaxGifColors)
        throw SkinError("The number of colours must be " + std::to_string(MinGifColors) + " to "
                        + std::to_string(MaxGifColors) + ", not " + std::to_string(options.colors));
    Indexed out;
    const bool hasTransparent = input.transparent > 0;
    const int opaqueEntries = options.colors - (hasTransparent ? 1 : 0);
    out.pixels.assign(input.colorOf.size(), 0);
    if (static_cast<int>(input.colors.size()) <= opaqueEntries) {
        // Few enough: every pixel keeps its colour.
        out.table = input.colors;
        for (std::size_t i = 0; i < out.pixels.size(); ++i)
            if (input.colorOf[i] >= 0)
                out.pixels[i] = static_cast<std::uint8_t>(input.colorOf[i]);
    } else if (opaqueEntries == 1) {
        // One colour beside the transparent one: their mean.
        double sum[3] = {0, 0, 0};
        double pixels = 0;
        for (std::size_t c = 0; c < input.colors.size(); ++c) {
            sum[0] += qRed(input.colors[c]) * double(input.counts[c]);
            sum[1] += qGreen(input.colors[c]) * double(input.counts[c]);
            sum[2] += qBlue(input.colors[c]) * double(input.counts[c]);
            pixels += input.counts[c];
        }
        out.table = {qRgb(int(sum[0] / pixels + 0.5), int(sum[1] / pixels + 0.5), int(sum[2] / pixels + 0.5))};
    } else {
        out.table = Quantize(input, opaqueEntries, options.dither, nullptr, out.pixels);
    }
    if (hasTransparent) {
        out.transparent = static_cast<int>(out.table.size());
        out.table.push_back(FreeColor(out.table));
        MarkTransparent(input, out);
    }
    return out;
}

Indexed ToFixedPalette(const OpaqueColors& input, const ConversionOptions& options, const OkLabConverter& lab)
{
    Indexed out;
    out.table = options.palette->table;
    out.transparent = options.palette->transparent;
    if (input.transparent > 0 && out.transparent < 0) {
        // A new entry after the others, so that every index keeps its colour.
        if (out.table.size() >= static_cast<std::size_t>(MaxGifColors))
            throw SkinError("The picture has transparent pixels, but all " + std::to_string(MaxGifColors)
                            + " colours of the palette are taken and none is transparent");
        out.transparent = static_cast<int>(out.table.size());
        out.table.push_back(FreeColor(out.table));
    }
    const NearestEntry nearest(out.table, out.transparent, lab);
    if (nearest.Empty() && !input.colors.empty())
        throw SkinError("The palette has no colour but the transparent one");
    out.pixels.assign(input.colorOf.size(), static_cast<std::uint8_t>(std::max(out.transparent, 0)));

    std::vector<QRgb> distinct;
    for (std::size_t i = 0; i < out.table.size(); ++i)
        if (static_cast<int>(i) != out.transparent
            && std::find(distinct.begin(), distinct.end(), out.table[i]) == distinct.end())
            distinct.push_back(out.table[i]);
    if (options.dither && distinct.size() >= 2 && input.colors.size() > 1) {
        // libimagequant dithers onto the fixed colours; its entries are then found
        // again in the palette, whose order is the one kept.
        std::vector<std::uint8_t> remapped;
        const std::vector<QRgb> colors =
            Quantize(input, static_cast<int>(distinct.size()), true, &distinct, remapped);
        std::vector<std::uint8_t> entryOf(colors.size());
        for (std::size_t i = 0; i < colors.size(); ++i)
            entryOf[i] = nearest(colors[i]);
        for (std::size_t i = 0; i < remapped.size(); ++i)
            if (input.colorOf[i] >= 0)
                out.pixels[i] = entryOf[remapped[i]];
    } else {
        std::vector<std::uint8_t> entryOf(input.colors.size());
        for (std::size_t c = 0; c < input.colors.size(); ++c)
            entryOf[c] = nearest(input.colors[c]);
        for (std::size_t i = 0; i < out.pixels.size(); ++i)
            if (input.colorOf[i] >= 0)
                out.pixels[i] = entryOf[static_cast<std::size_t>(input.colorOf[i])];
    }
    if (input.transparent == 0)
        out.transparent = -1; // nothing is transparent: no control block
    else
        MarkTransparent(input, out);
    return out;
}

} // namespace

ConvertedGif ConvertToGif(const QImage& image, const ConversionOptions& options)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw SkinError("The picture has no size");
    if (image.width() > MaxGifSide || image.height() > MaxGifSide)
        throw SkinError("The picture is " + SizeText(image.size()).toStdString() + " pixels, larger than "
                        + SizeText(QSize(MaxGifSide, MaxGifSide)).toStdString());
    const OpaqueColors input = ReadOpaqueColors(image);
    const OkLabConverter lab;
    const Indexed indexed = options.palette ? ToFixedPalette(input, options, lab) : ToNewPalette(input, options);

    ConvertedGif result;
    result.gif = EncodeIndexed(indexed, input.width, input.height);
    result.picture = DecodeGif(result.gif);
    result.colorsBefore = static_cast<int>(input.colors.size());
    result.transparentPixels = input.transparent;

    // Errors from the tables: each distinct colour and entry converted once.
    std::vector<OkLab> before(input.colors.size());
    for (std::size_t c = 0; c < before.size(); ++c)
        before[c] = lab(input.colors[c]);
    std::vector<OkLab> after(indexed.table.size());
    for (std::size_t e = 0; e < after.size(); ++e)
        after[e] = lab(indexed.table[e]);
    std::vector<bool> used(indexed.table.size(), false);
    std::vector<QRgb> usedColors;
    double sum = 0;
    for (std::size_t i = 0; i < indexed.pixels.size(); ++i) {
        const std::int32_t c = input.colorOf[i];
        if (c < 0)
            continue;
        const std::uint8_t e = indexed.pixels[i];
        if (!used[e]) {
            used[e] = true;
            if (std::find(usedColors.begin(), usedColors.end(), indexed.table[e]) == usedColors.end())
                usedColors.push_back(indexed.table[e]);
        }
        const double d = DeltaE(before[static_cast<std::size_t>(c)], after[e]);
        sum += d;
        result.largestError = std::max(result.largestError, d);
    }
    const std::size_t opaque = indexed.pixels.size() - static_cast<std::size_t>(input.transparent);
    result.meanError = opaque > 0 ? sum / static_cast<double>(opaque) : 0;
    result.colorsAfter = static_cast<int>(usedColors.size());
    return result;
}

QString ConversionSummary(const ConvertedGif& converted)
{
    return QStringLiteral("colours %1 -> %2, largest error %3, mean error %4 (OKLab), transparent pixels %5")
        .arg(converted.colorsBefore)
        .arg(converted.colorsAfter)
        .arg(converted.largestError, 0, 'f', 4)
        .arg(converted.meanError, 0, 'f', 4)
        .arg(converted.transparentPixels);
}
