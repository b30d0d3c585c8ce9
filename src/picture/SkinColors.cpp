#include "SkinColors.h"

#include "OkLab.h"
#include "SkinNumbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <unordered_map>

namespace {

std::optional<QRgb> SixDigits(std::string_view digits)
{
    if (digits.size() != 6)
        return std::nullopt;
    int v[6];
    for (std::size_t i = 0; i < 6; ++i) {
        v[i] = HexDigit(digits[i]);
        if (v[i] < 0)
            return std::nullopt;
    }
    return qRgb(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
}

// Where the RRGGBB digits of key's colour word lie in its line: the colour is read
// from the word's third to eighth characters, whatever the first two are.
struct ColorWordAt {
    int index = -1;
    std::size_t digits = 0; // offset of RR in the line
    QRgb color = 0;
};

std::optional<ColorWordAt> FindColorWord(const SkinLines& lines, SkinCategory category, const char* key)
{
    const int index = lines.FindKey(key);
    if (index < 0)
        return std::nullopt;
    const std::string& line = lines.Line(index);
    const std::string_view value = ValueText(line);
    const std::size_t start = WordStart(WordOf(category, FieldId::Color), value, SkinDelimiters());
    if (start == 0)
        return std::nullopt;
    const std::size_t at = static_cast<std::size_t>(value.data() - line.data()) + start - 1;
    std::size_t end = at;
    while (end < line.size() && !SkinDelimiters()[static_cast<unsigned char>(line[end])])
        ++end;
    if (end - at < 8)
        return std::nullopt;
    const auto color = SixDigits(std::string_view(line).substr(at + 2, 6));
    if (!color)
        return std::nullopt;
    return ColorWordAt{index, at + 2, *color};
}

template <typename Visit>
void ForEachColorWord(const SkinLines& lines, Visit&& visit)
{
    for (const char* key : TextItemKeys) {
        if (const auto word = FindColorWord(lines, SkinCategory::Strings, key))
            visit(key, *word);
    }
    for (const char* key : ObjectKeys) {
        if (const auto word = FindColorWord(lines, SkinCategory::Objects, key))
            visit(key, *word);
    }
}

// The GIF's colour tables: where each starts, its entries, and the entries an image
// drawn with it makes transparent.
struct ColorTable {
    std::size_t offset = 0;
    std::size_t entries = 0;
    std::set<int> transparent;
};

std::vector<ColorTable> ColorTables(std::string_view gif)
{
    std::vector<ColorTable> tables;
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(gif[at]); };
    if (gif.size() < 13 || gif.substr(0, 3) != "GIF")
        return tables;
    std::size_t at = 13;
    std::optional<std::size_t> global;
    if (byte(10) & 0x80) {
        const std::size_t entries = std::size_t{2} << (byte(10) & 7);
        if (at + 3 * entries > gif.size())
            return tables;
        global = tables.size();
        tables.push_back({at, entries, {}});
        at += 3 * entries;
    }
    // Steps over data sub-blocks up to their terminator; false when the file ends first.
    const auto skipSubBlocks = [&] {
        while (at < gif.size()) {
            const std::size_t size = byte(at);
            ++at;
            if (size == 0)
                return true;
            at += size;
        }
        return false;
    };
    int transparent = -1; // of the Graphic Control Extension before the next image
    while (at < gif.size()) {
        const unsigned char introducer = byte(at);
        if (introducer == 0x21) {
            if (at + 1 >= gif.size())
                break;
            const unsigned char label = byte(at + 1);
            at += 2;
            if (label == 0xF9 && at + 5 <= gif.size() && byte(at) >= 4)
                transparent = (byte(at + 1) & 1) ? byte(at + 4) : -1;
            if (!skipSubBlocks())
                break;
        } else if (introducer == 0x2C) {
            if (at + 10 > gif.size())
                break;
            const unsigned char packed = byte(at + 9);
            at += 10;
            if (packed & 0x80) {
                const std::size_t entries = std::size_t{2} << (packed & 7);
                if (at + 3 * entries > gif.size())
                    break;
                tables.push_back({at, entries, {}});
                if (transparent >= 0)
                    tables.back().transparent.insert(transparent);
                at += 3 * entries;
            } else if (global && transparent >= 0) {
                tables[*global].transparent.insert(transparent);
            }
            transparent = -1;
            ++at; // LZW minimum code size
            if (!skipSubBlocks())
                break;
        } else {
            break; // the trailer, or a block no decoder reads past
        }
    }
    return tables;
}

} // namespace

long long PaletteRow::Pixels() const
{
    long long sum = 0;
    for (const PictureUse& use : pictures)
        sum += use.pixels;
    return sum;
}

std::string PaletteRow::Uses() const
{
    std::string text;
    for (const std::string& element : elements)
        text += (text.empty() ? "" : ", ") + element;
    std::string inPictures;
    for (const PictureUse& use : pictures) {
        inPictures += (inPictures.empty() ? "" : ", ") + std::to_string(use.number) + ".gif "
                      + std::to_string(use.pixels) + " px";
    }
    if (!text.empty() && !inPictures.empty())
        text += "; ";
    return text + inPictures;
}

std::string ColorName(QRgb color)
{
    return "#" + ColorToHex(MakeRgb(qRed(color), qGreen(color), qBlue(color)));
}

std::optional<QRgb> ParseColorName(std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    return SixDigits(text);
}

std::vector<PaletteRow> BuildPalette(const SkinLines& lines, std::span<const QImage> pictures)
{
    std::map<QRgb, PaletteRow> rows;
    ForEachColorWord(lines, [&](const char* key, const ColorWordAt& word) {
        PaletteRow& row = rows[word.color];
        row.color = word.color;
        row.elements.push_back(KeyName(key));
    });
    for (int number = 0; number < SkinPictureCount && number < static_cast<int>(pictures.size()); ++number) {
        const QImage& picture = pictures[static_cast<std::size_t>(number)];
        if (picture.isNull())
            continue;
        std::unordered_map<QRgb, long long> counts;
        if (picture.format() == QImage::Format_Indexed8) {
            // A byte a pixel, as decoded: count the indices, then their colours.
            std::array<long long, 256> indices{};
            for (int y = 0; y < picture.height(); ++y) {
                const uchar* line = picture.constScanLine(y);
                for (int x = 0; x < picture.width(); ++x)
                    ++indices[line[x]];
            }
            for (int i = 0; i < picture.colorCount(); ++i) {
                const QRgb color = picture.color(i);
                if (indices[static_cast<std::size_t>(i)] > 0 && qAlpha(color) == 255)
                    counts[color] += indices[static_cast<std::size_t>(i)];
            }
        } else {
            const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < argb.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
                for (int x = 0; x < argb.width(); ++x) {
                    if (qAlpha(line[x]) == 255)
                        ++counts[line[x]];
                }
            }
        }
        for (const auto& [color, pixels] : counts) {
            PaletteRow& row = rows[color];
            row.color = color;
            row.pictures.push_back({number, pixels});
        }
    }
    std::vector<PaletteRow> palette;
    for (auto& [color, row] : rows)
        palette.push_back(std::move(row));
    const auto places = [](const PaletteRow& row) { return row.elements.size() + row.pictures.size(); };
    std::stable_sort(palette.begin(), palette.end(), [&](const PaletteRow& x, const PaletteRow& y) {
        if (places(x) != places(y))
            return places(x) > places(y);
        return x.Pixels() > y.Pixels();
    });
    return palette;
}

std::vector<RecoloredLine> RecolorLines(const SkinLines& lines, const ColorMap& map)
{
    std::map<int, RecoloredLine> changed;
    ForEachColorWord(lines, [&](const char* key, const ColorWordAt& word) {
        const auto to = map.find(word.color);
        if (to == map.end() || to->second == word.color)
            return;
        auto [entry, fresh] = changed.try_emplace(word.index, RecoloredLine{word.index, key, lines.Line(word.index)});
        entry->second.text.replace(word.digits, 6, ColorName(to->second).substr(1));
    });
    std::vector<RecoloredLine> result;
    for (auto& [index, line] : changed)
        result.push_back(std::move(line));
    return result;
}

std::string RecolorGif(std::string_view gif, const ColorMap& map)
{
    std::string out(gif);
    for (const ColorTable& table : ColorTables(gif)) {
        for (std::size_t i = 0; i < table.entries; ++i) {
            if (table.transparent.contains(static_cast<int>(i)))
                continue;
            char* entry = out.data() + table.offset + 3 * i;
            const QRgb color = qRgb(static_cast<unsigned char>(entry[0]), static_cast<unsigned char>(entry[1]),
                                     static_cast<unsigned char>(entry[2]));
            const auto to = map.find(color);
            if (to == map.end())
                continue;
            entry[0] = static_cast<char>(qRed(to->second));
            entry[1] = static_cast<char>(qGreen(to->second));
            entry[2] = static_cast<char>(qBlue(to->second));
        }
    }
    return out;
}

QImage RecolorImage(const QImage& picture, const ColorMap& map)
{
    if (picture.isNull() || map.empty())
        return picture;
    // A decoded GIF keeps its one byte a pixel: only its colour table changes, as in the file.
    if (picture.format() == QImage::Format_Indexed8) {
        QList<QRgb> table = picture.colorTable();
        for (QRgb& entry : table) {
            const auto to = qAlpha(entry) == 255 ? map.find(entry) : map.end();
            if (to != map.end())
                entry = to->second;
        }
        QImage out = picture;
        out.setColorTable(table);
        return out;
    }
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                continue;
            const auto to = map.find(line[x]);
            if (to != map.end())
                line[x] = to->second;
        }
    }
    return out;
}

QRgb EditColor(QRgb color, const Edition& edition, bool* clamped)
{
    if (clamped)
        *clamped = false;
    const OkLabConverter toLab;
    OkLch lch = ToOkLch(toLab(color));
    if (lch.C < NeutralChroma && !edition.neutrals)
        return qRgb(qRed(color), qGreen(color), qBlue(color));
    lch.L = std::clamp(lch.L * edition.lightness, 0.0f, 1.0f);
    lch.C = std::max(0.0f, lch.C * edition.chroma);
    lch.h = std::fmod(lch.h + edition.hue, 360.0f);
    LinearRgb linear = LinearOfOkLab(FromOkLch(lch));
    if (!InsideSrgb(linear)) {
        // The most chroma at this lightness and hue that sRGB shows; a grey always fits.
        float inside = 0;
        float outside = lch.C;
        for (int step = 0; step < 24; ++step) {
            const float mid = (inside + outside) / 2;
            if (InsideSrgb(LinearOfOkLab(FromOkLch({lch.L, mid, lch.h}))))
                inside = mid;
            else
                outside = mid;
        }
        linear = LinearOfOkLab(FromOkLch({lch.L, inside, lch.h}));
        if (clamped)
            *clamped = true;
    }
    return RgbOfLinear(linear);
}

EditionResult EditionOf(const std::vector<PaletteRow>& palette, const Edition& edition)
{
    EditionResult result;
    for (const PaletteRow& row : palette) {
        bool clamped = false;
        const QRgb to = EditColor(row.color, edition, &clamped);
        if (clamped)
            result.clamped.push_back(row.color);
        if (to != row.color)
            result.map[row.color] = to;
    }
    return result;
}
