#pragma once
// What the steps of DrawPreview share. All of them paint with a QPainter that is
// active on a preview surface (RGB32); none keeps state between calls.
#include "PreviewCache.h"
#include "PreviewRenderer.h"
#include "SkinNumbers.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include <algorithm>

#include <cstdint>
#include <vector>

// Sets up a painter on a surface for pixel-exact drawing.
void PreparePainter(QPainter& painter);
QColor ToQColor(RgbColor color);

// One drawing's painter with what its steps share: the cache (none: texts laid out each
// time), the device's size, and the parts of it the drawing paints.
struct PreviewPaint {
    // clip: where to paint (none: everywhere), rectangles that may overlap.
    PreviewPaint(QPainter& painter, PreviewCache* cache, const std::vector<QRect>* clip);
    QPainter& painter;
    PreviewCache* cache;
    int width;
    int height;
    bool clipped;
    // The clip's pixels on the device in rectangles apart from one another, so that
    // nothing is painted twice (a half-clear picture would blend twice): all of the
    // device without a clip.
    std::vector<QRect> parts;
};

// value within the int range.
int Saturate(std::int64_t value);
// Calls inPart(part, within) for each part of the drawing that the area left <= x <
// right, top <= y < bottom meets, within being the area's pixels in it: a redraw of
// part of the surface skips what lies outside it.
template <typename Paint>
void InParts(const PreviewPaint& paint, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
             Paint&& inPart)
{
    if (right <= 0 || bottom <= 0 || left >= paint.width || top >= paint.height || right <= left || bottom <= top)
        return;
    const auto at = [](std::int64_t value, int size) { return static_cast<int>(std::clamp<std::int64_t>(value, 0, size)); };
    const QRect area(QPoint(at(left, paint.width), at(top, paint.height)),
                     QPoint(at(right, paint.width) - 1, at(bottom, paint.height) - 1));
    for (const QRect& part : paint.parts) {
        const QRect within = part.intersected(area);
        if (!within.isEmpty())
            inPart(part, within);
    }
}

// The rectangle left <= x < right, top <= y < bottom, with far-off values limited so
// that QRect's arithmetic cannot overflow; empty when it holds no pixel.
QRect LimitedRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
// Lists an element's rectangle left <= x < right, top <= y < bottom when it is not
// empty. Far-off values are limited so that QRect's arithmetic cannot overflow.
void Record(std::vector<DrawnElement>* drawn, SkinCategory category, const char* key, std::int64_t left,
            std::int64_t top, std::int64_t right, std::int64_t bottom, bool mirrored = false);

// One line of text with its baseline's left end at baseline: the cache's glyph runs
// where it shaped the text, else QPainter::drawText in the painter's font. The drawing
// and the cache's measure of a text's pixels both draw it so.
void DrawTextLine(QPainter& painter, const PreviewCache::ShapedText* shaped, const QString& text, QPoint baseline);

// The nine text items with LangLines lines 0 to 8, then the right soft label
// (line 9) mirrored from SoftLabel, with a transparent text background.
void DrawTexts(PreviewPaint& paint, const TSkinModel& model, const TextLines& langLines,
               std::vector<DrawnElement>* drawn);
