#pragma once
// Where one colour of the skin is, shown over a drawing for as long as it is asked
// for: the elements that use it outlined, its pixels in the pictures tinted. Views
// show it; the drawing itself, and so every export, stays as it was.
#include "PreviewRenderer.h"

#include <QImage>
#include <QRect>
#include <QRgb>

#include <string>
#include <vector>

// A colour and where the skin uses it.
struct ColorUses {
    QRgb color = 0;                   // opaque RGB
    std::vector<std::string> elements; // text items and rectangles, as KeyName names them
    std::vector<int> pictures;         // the N of "N.gif"
};

struct ColorMarking {
    QRgb signal = 0;           // what the marks are drawn in: far from the colour
    std::vector<QRect> bounds; // the drawn elements that use the colour, in skin pixels
    QImage surface;            // the drawing with the colour's picture pixels tinted
};

// Marks uses on surface, the drawing that listed drawn from pictures. Pixels of the
// surface's key colour are left as they are, so the marked surface keys as it did.
ColorMarking MarkColor(const ColorUses& uses, const QImage& surface, const std::vector<DrawnElement>& drawn,
                         const PictureSlots& pictures);

// The marked surface keyed as the preview shows it, with an outline just outside
// each marked element.
QImage OutlinedMarking(const ColorMarking& marking);
