#pragma once
// Turns any picture into a skin's GIF: at most 256 colours, one frame, and
// transparency as a GIF has it (one colour index, no alpha). Bytes in memory
// only; writing them is the caller's business.
//
// Alpha below 128 is transparent, and every transparent pixel gets one index of
// its own that no opaque colour shares. Few colours are kept exactly; more are
// reduced with libimagequant over the opaque pixels alone.
#include "GifDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

inline constexpr int MinGifColors = 2;
inline constexpr int MaxGifColors = 256;

struct ConversionOptions {
    // Entries of the colour table at most, the transparent one included.
    int colors = MaxGifColors;
    // Error diffusion when colours are reduced: off suits flat pixel art.
    bool dither = false;
    // Map onto this colour table instead (colours is then unused): the order of its
    // entries and its transparent index stay as they are.
    std::optional<GifColors> palette;
};

struct ConvertedGif {
    QByteArray gif;           // the GIF file
    QImage picture;           // gif as the skin's decoder reads it back
    int colorsBefore = 0;    // distinct colours of the opaque pixels given
    int colorsAfter = 0;     // distinct colours of the opaque pixels written
    double largestError = 0;  // ΔE in OKLab over the opaque pixels
    double meanError = 0;
    int transparentPixels = 0;
};

// Throws SkinError for an empty or too large picture (its size named), a number of
// colours out of range, or a palette that cannot take the picture.
ConvertedGif ConvertToGif(const QImage& image, const ConversionOptions& options = {});

// One line on what a conversion did: "colours 1834 -> 256, largest error 0.0834,
// mean error 0.0123 (OKLab), transparent pixels 420".
QString ConversionSummary(const ConvertedGif& converted);
