#include "ColorReduction.h"

#include "SkinError.h"

#include <libimagequant.h>

#include <memory>
#include <string>

namespace {

constexpr int OpaqueAlpha = 128;
// libimagequant's speed: 8 of 10 reduces a 176x220 picture in a few milliseconds
// with the error of its slow default (4), which took 70-100 ms.
constexpr int QuantizeSpeed = 8;

// libimagequant runs its loops on OpenMP's threads, which wait for work by spinning:
// a small picture came out no faster on two of them, and three times slower while
// the other core was busy. Declared weak, since OpenMP comes in with libimagequant
// and its header is the compiler's own.
extern "C" int omp_get_max_threads() __attribute__((weak));
extern "C" void omp_set_num_threads(int) __attribute__((weak));

// Quantizing on the calling thread alone, as long as it lives.
class OneThread {
public:
    OneThread()
    {
        if (omp_get_max_threads != nullptr && omp_set_num_threads != nullptr) {
            before_ = omp_get_max_threads();
            omp_set_num_threads(1);
        }
    }
    ~OneThread()
    {
        if (before_ > 0)
            omp_set_num_threads(before_);
    }
    OneThread(const OneThread&) = delete;
    OneThread& operator=(const OneThread&) = delete;

private:
    int before_ = 0;
};

struct LiqAttrFree {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct LiqHistogramFree {
    void operator()(liq_histogram* p) const { liq_histogram_destroy(p); }
};
struct LiqResultFree {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
struct LiqImageFree {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};

liq_color LiqColor(QRgb color)
{
    return {static_cast<unsigned char>(qRed(color)), static_cast<unsigned char>(qGreen(color)),
            static_cast<unsigned char>(qBlue(color)), 255};
}

[[noreturn]] void QuantizeFailed(liq_error error)
{
    throw SkinError("The picture's colours cannot be reduced (libimagequant error " + std::to_string(error) + ")");
}

// The picture as libimagequant remaps it: transparent pixels take the colour of
// the opaque pixel before them, so that dithering carries no error out of them.
std::vector<liq_color> BledPixels(const OpaqueColors& input)
{
    std::vector<liq_color> rgba(input.colorOf.size());
    QRgb last = input.colors.empty() ? 0 : input.colors.front();
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        if (input.colorOf[i] >= 0)
            last = input.colors[static_cast<std::size_t>(input.colorOf[i])];
        rgba[i] = LiqColor(last);
    }
    return rgba;
}

// The opaque colours at five bits a channel, each entry the mean of the colours it
// holds, weighed by their pixels: libimagequant's median cut took most of a
// conversion over tens of thousands of distinct colours, and the remapping after it
// refines the palette on every pixel as it is.
std::vector<liq_histogram_entry> HistogramOf(const OpaqueColors& input)
{
    constexpr int bits = 5;
    constexpr int drop = 8 - bits;
    struct Sum {
        std::uint64_t r = 0, g = 0, b = 0, pixels = 0;
    };
    std::vector<std::int32_t> slot(std::size_t{1} << (3 * bits), -1);
    std::vector<Sum> sums;
    for (std::size_t i = 0; i < input.colors.size(); ++i) {
        const QRgb color = input.colors[i];
        const std::size_t key = (static_cast<std::size_t>(qRed(color) >> drop) << (2 * bits))
            | (static_cast<std::size_t>(qGreen(color) >> drop) << bits) | static_cast<std::size_t>(qBlue(color) >> drop);
        if (slot[key] < 0) {
            slot[key] = static_cast<std::int32_t>(sums.size());
            sums.emplace_back();
        }
        Sum& sum = sums[static_cast<std::size_t>(slot[key])];
        const std::uint64_t pixels = input.counts[i];
        sum.r += qRed(color) * pixels;
        sum.g += qGreen(color) * pixels;
        sum.b += qBlue(color) * pixels;
        sum.pixels += pixels;
    }
    std::vector<liq_histogram_entry> entries;
    entries.reserve(sums.size());
    const auto mean = [](std::uint64_t total, std::uint64_t pixels) {
        return static_cast<unsigned char>((total + pixels / 2) / pixels);
    };
    for (const Sum& sum : sums)
        entries.push_back({liq_color{mean(sum.r, sum.pixels), mean(sum.g, sum.pixels), mean(sum.b, sum.pixels), 255},
                           static_cast<unsigned>(sum.pixels)});
    return entries;
}

} // namespace

OpaqueColors ReadOpaqueColors(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    OpaqueColors result;
    result.width = argb.width();
    result.height = argb.height();
    const std::size_t pixels = static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height);
    result.colorOf.resize(pixels);
    // An open-addressed table at most half full, keyed by the colour (never 0, as
    // alpha is 255): a node-based map spent more on allocating than on looking up.
    int bits = 4;
    while ((std::size_t{1} << bits) < 2 * pixels)
        ++bits;
    const std::size_t mask = (std::size_t{1} << bits) - 1;
    std::vector<QRgb> keys(mask + 1, 0);
    std::vector<std::int32_t> values(mask + 1);
    std::size_t i = 0;
    for (int y = 0; y < result.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < result.width; ++x, ++i) {
            if (qAlpha(line[x]) < OpaqueAlpha) {
                result.colorOf[i] = -1;
                ++result.transparent;
                continue;
            }
            const QRgb color = line[x] | 0xff000000u;
            std::size_t slot = (color * 0x9E3779B1u) >> (32 - bits);
            while (keys[slot] != 0 && keys[slot] != color)
                slot = (slot + 1) & mask;
            if (keys[slot] == 0) {
                keys[slot] = color;
                values[slot] = static_cast<std::int32_t>(result.colors.size());
                result.colors.push_back(color);
                result.counts.push_back(0);
            }
            ++result.counts[static_cast<std::size_t>(values[slot])];
            result.colorOf[i] = values[slot];
        }
    }
    return result;
}

std::vector<QRgb> Quantize(const OpaqueColors& input, int maxColors, bool dither, const std::vector<QRgb>* fixed,
                           std::vector<std::uint8_t>& pixels)
{
    const OneThread oneThread;
    std::unique_ptr<liq_attr, LiqAttrFree> attr(liq_attr_create());
    if (!attr)
        throw SkinError("Not enough memory to reduce the picture's colours");
    if (liq_error e = liq_set_max_colors(attr.get(), maxColors); e != LIQ_OK)
        QuantizeFailed(e);
    liq_set_speed(attr.get(), QuantizeSpeed);

    // Only the opaque pixels count: a histogram of their colours.
    std::unique_ptr<liq_histogram, LiqHistogramFree> histogram(liq_histogram_create(attr.get()));
    const std::vector<liq_histogram_entry> entries = HistogramOf(input);
    if (liq_error e = liq_histogram_add_colors(histogram.get(), attr.get(), entries.data(),
                                               static_cast<int>(entries.size()), 0);
        e != LIQ_OK)
        QuantizeFailed(e);
    if (fixed != nullptr) {
        for (QRgb color : *fixed)
            liq_histogram_add_fixed_color(histogram.get(), LiqColor(color), 0);
    }
    liq_result* raw = nullptr;
    if (liq_error e = liq_histogram_quantize(histogram.get(), attr.get(), &raw); e != LIQ_OK)
        QuantizeFailed(e);
    std::unique_ptr<liq_result, LiqResultFree> result(raw);
    liq_set_dithering_level(result.get(), dither ? 1.0f : 0.0f);

    std::vector<liq_color> rgba = BledPixels(input);
    std::unique_ptr<liq_image, LiqImageFree> image(
        liq_image_create_rgba(attr.get(), rgba.data(), input.width, input.height, 0));
    if (!image)
        throw SkinError("Not enough memory to reduce the picture's colours");
    pixels.resize(rgba.size());
    if (liq_error e = liq_write_remapped_image(result.get(), image.get(), pixels.data(), pixels.size()); e != LIQ_OK)
        QuantizeFailed(e);
    // Read after remapping, which may still move the colours.
    const liq_palette* palette = liq_get_palette(result.get());
    std::vector<QRgb> colors;
    for (unsigned i = 0; i < palette->count; ++i)
        colors.push_back(qRgb(palette->entries[i].r, palette->entries[i].g, palette->entries[i].b));
    return colors;
}
