#pragma once
// The skin's colours as one palette, and recolouring the whole skin with one mapping.
// A text item's first colour, the rectangles' colours and the colours that the
// pictures' pixels show make the palette. A recolour rewrites only the RRGGBB digits
// of the description's colour words and the RGB bytes of the GIFs' colour tables, so
// everything else (alpha digits, palette order, transparent index, frames, LZW data)
// stays byte for byte. In memory only.
#include "SkinFormat.h"
#include "SkinLines.h"

#include <QImage>
#include <QRgb>

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Old colour to new, both opaque RGB (qRgb); applied at once, so red->blue and
// blue->green in one map never make red green.
using ColorMap = std::map<QRgb, QRgb>;

struct PictureUse {
    int number = 0;  // "N.gif"
    long long pixels = 0;
    bool operator==(const PictureUse&) const = default;
};

struct PaletteRow {
    QRgb color = 0;
    std::vector<std::string> elements; // key names, in model order: text items, then rectangles
    std::vector<PictureUse> pictures;  // in number order
    long long Pixels() const;
    // "Artist, Title; 3.gif 412 px, 8.gif 20 px".
    std::string Uses() const;
};

// "#RRGGBB".
std::string ColorName(QRgb color);
// Six hexadecimal digits, either case, with or without "#"; nothing when it is not one.
std::optional<QRgb> ParseColorName(std::string_view text);

// The palette of a skin, most used first (by places, then pixels). pictures are the
// decoded "0.gif" to "14.gif" (a null image: none); only opaque pixels count, so the
// transparent entry is left out. A colour word that does not hold six hexadecimal
// digits where the colour is read is no colour here.
// Only the first SkinPictureCount of pictures are read (a document's slots hold more).
std::vector<PaletteRow> BuildPalette(const SkinLines& lines, std::span<const QImage> pictures);

struct RecoloredLine {
    int index = 0;
    std::string key; // of the element the line belongs to
    std::string text;
};

// The description lines that map changes, with their new bytes, in line order. Only
// the RRGGBB digits of the colour words change, written in upper case.
std::vector<RecoloredLine> RecolorLines(const SkinLines& lines, const ColorMap& map);

// gif with map applied to every colour table, global and local; the same length, and
// every byte outside the tables as it was. An image's transparent entry keeps its
// colour. A file whose blocks end early or go astray keeps the rest as it is.
std::string RecolorGif(std::string_view gif, const ColorMap& map);

// picture with map applied to its opaque pixels: what RecolorGif's file decodes to.
QImage RecolorImage(const QImage& picture, const ColorMap& map);

// A colour edition in OKLCh.
struct Edition {
    float hue = 0;       // degrees added to every hue
    float chroma = 1;    // chroma scale
    float lightness = 1; // lightness scale
    bool neutrals = false; // also change colours of (nearly) no chroma: greys, black, white
};

// Chroma below which a colour counts as neutral: about the least tint anyone sees.
inline constexpr float NeutralChroma = 0.02f;

struct EditionResult {
    ColorMap map;               // every palette colour the edition changes
    std::vector<QRgb> clamped;   // palette colours that lost chroma to fit into sRGB
};

// The edition applied to one colour; clamped tells whether it lost chroma to fit.
QRgb EditColor(QRgb color, const Edition& edition, bool* clamped = nullptr);
EditionResult EditionOf(const std::vector<PaletteRow>& palette, const Edition& edition);
