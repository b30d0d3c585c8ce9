// The texts of DrawPreview: the sample texts in each item's font, placed by its anchor.
#include "PreviewFont.h"
#include "PreviewPainting.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QRect>

#include <utility>

namespace {

// LangLines line lineNumber as the preview draws it (8-bit text, read as Latin-1);
// an empty text when langLines has no such line.
const std::string& SampleText(const TextLines& langLines, int lineNumber)
{
    static const std::string none;
    if (lineNumber < 0 || static_cast<std::size_t>(lineNumber) >= langLines.size())
        return none;
    return langLines[static_cast<std::size_t>(lineNumber)];
}

// How far a text lies before its anchor point along one axis, given its extent there.
std::int64_t Before(TextSide side, int extent)
{
    switch (side) {
    case TextSide::After: return 0;
    case TextSide::Centred: return extent / 2;
    case TextSide::Before: return extent;
    }
    return 0;
}

// The text origin (top-left corner of the text's cell) for a text of width W and
// height H anchored at (x, y) by anchor (the twelve anchor values); an anchor outside the
// twelve places the cell's top-left at (x, y). Saturates to the int range.
QPoint AnchorOrigin(std::int32_t x, std::int32_t y, std::int32_t anchor, int width, int height)
{
    const std::int64_t ox = std::int64_t{x} - Before(HorizontalSide(anchor), width);
    const std::int64_t oy = std::int64_t{y} - Before(VerticalSide(anchor), height);
    return QPoint(Saturate(ox), Saturate(oy));
}

// A text in an item's font, measured, ready to draw: shaped once and kept when the
// drawing has a cache, laid out by QPainter each time when it has none.
struct ItemText {
    QString text; // for QPainter::drawText; empty when the cache's glyphs draw it
    QFont font;   // the same
    const PreviewCache::ShapedText* shaped = nullptr;
    QColor color;
    bool empty = true;
    int advance = 0;
    int height = 0;
    int ascent = 0;
};

// bytes measured in the item's font (face, FontSize of its FontId, FontStyle), in its Color.
ItemText PrepareItemText(PreviewPaint& paint, const TSkiStr& item, const std::string& bytes)
{
    ItemText prepared;
    prepared.empty = bytes.empty();
    if (prepared.empty)
        return prepared; // neither drawn nor listed
    prepared.color = ToQColor(HexToColor(item.Color));
    const int size = FontSizeOfId(item.FontId);
    if (paint.cache == nullptr) {
        prepared.font = PreviewFont(size, item.FontStyle());
        paint.painter.setFont(prepared.font);
        const QFontMetrics metrics = paint.painter.fontMetrics();
        prepared.text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
        prepared.advance = metrics.horizontalAdvance(prepared.text);
        prepared.height = metrics.height();
        prepared.ascent = metrics.ascent();
        return prepared;
    }
    prepared.shaped = &paint.cache->Text(bytes, size, item.FontStyle());
    prepared.advance = prepared.shaped->advance;
    prepared.height = prepared.shaped->height;
    prepared.ascent = prepared.shaped->ascent;
    if (!prepared.shaped->shaped) {
        prepared.font = paint.cache->FaceFor(size, item.FontStyle()).font;
        prepared.text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return prepared;
}

// AnchorOrigin of the item and its text.
QPoint AnchorPoint(const TSkiStr& item, const ItemText& text)
{
    const int width = HorizontalSide(item.Anchor) != TextSide::After ? text.advance : 0;
    const int height = VerticalSide(item.Anchor) != TextSide::After ? text.height : 0;
    return AnchorOrigin(item.X, item.Y, item.Anchor, width, height);
}

// Where a text with its cell's top-left corner at (x, y) paints: where the cache
// measured its glyphs, or else as far as they may reach (italics, overhangs), a cell
// height round the cell. Empty for a text that paints nothing.
QRect PaintedArea(const ItemText& text, std::int64_t x, std::int64_t y)
{
    if (text.empty)
        return {};
    if (text.shaped != nullptr && text.shaped->ink) {
        const QRect& ink = *text.shaped->ink;
        return LimitedRect(x + ink.left(), y + ink.top(), x + ink.left() + ink.width(), y + ink.top() + ink.height());
    }
    const std::int64_t reach = text.height;
    return LimitedRect(x - reach, y - reach, x + text.advance + reach, y + text.height + reach);
}

// Draws text in its colour as one line with its cell's top-left corner at (x, y),
// glyphs only; skips it where it cannot touch the surface or the clip.
void DrawTextAt(PreviewPaint& paint, const ItemText& text, int x, int y)
{
    const QRect painted = PaintedArea(text, x, y);
    if (painted.isEmpty())
        return;
    QPainter& painter = paint.painter;
    bool ready = false;
    InParts(paint, painted.left(), painted.top(), std::int64_t{painted.right()} + 1, std::int64_t{painted.bottom()} + 1,
            [&](const QRect& part, const QRect&) {
                if (!std::exchange(ready, true)) {
                    painter.setPen(text.color);
                    if (text.shaped == nullptr || !text.shaped->shaped)
                        painter.setFont(text.font);
                }
                // Clipped to the part only where it reaches past it.
                if (paint.clipped && !part.contains(painted))
                    painter.setClipRect(part);
                else
                    painter.setClipping(false);
                DrawTextLine(painter, text.shaped, text.text, QPoint(x, y + text.ascent));
            });
}

// Lists a text drawn with its cell's top-left corner at (x, y), and where it painted.
void RecordText(std::vector<DrawnElement>* drawn, const ItemText& text, std::int64_t x, std::int64_t y,
                const char* key, bool mirrored = false)
{
    if (drawn == nullptr || text.empty)
        return;
    const std::size_t listed = drawn->size();
    Record(drawn, SkinCategory::Strings, key, x, y, x + text.advance, y + text.height, mirrored);
    if (drawn->size() != listed)
        drawn->back().painted = PaintedArea(text, x, y);
}

// The item with the text of LangLines line lineNumber, placed by AnchorPoint, listed
// under key.
void DrawSkiStr(PreviewPaint& paint, const TSkiStr& item, const TextLines& langLines, int lineNumber,
                std::vector<DrawnElement>* drawn, const char* key)
{
    const ItemText text = PrepareItemText(paint, item, SampleText(langLines, lineNumber));
    const QPoint origin = AnchorPoint(item, text);
    DrawTextAt(paint, text, origin.x(), origin.y());
    // The origin saturates, so no far-off value reaches here.
    RecordText(drawn, text, origin.x(), origin.y(), key);
}

} // namespace

void DrawTextLine(QPainter& painter, const PreviewCache::ShapedText* shaped, const QString& text, QPoint baseline)
{
    if (shaped != nullptr && shaped->shaped) {
        for (const QGlyphRun& run : shaped->runs)
            painter.drawGlyphRun(baseline, run);
        return;
    }
    painter.drawText(baseline, text);
}

void DrawTexts(PreviewPaint& paint, const TSkinModel& model, const TextLines& langLines,
               std::vector<DrawnElement>* drawn)
{
    QPainter& painter = paint.painter;
    const Qt::BGMode previousMode = painter.backgroundMode();
    painter.setBackgroundMode(Qt::TransparentMode);

    for (int i = 0; i < TextItemCount; ++i)
        DrawSkiStr(paint, model.TextItems[static_cast<std::size_t>(i)], langLines, i, drawn,
                   TextItemKeys[static_cast<std::size_t>(i)]);

    // The right soft label: the mirror image of a left-and-top-anchored SoftLabel.
    const TSkiStr& softLabel = model.TextItems[SoftLabelItem];
    const ItemText text = PrepareItemText(paint, softLabel, SampleText(langLines, 9));
    const int x = Saturate(paint.width - std::int64_t{softLabel.X} - text.advance);
    DrawTextAt(paint, text, x, softLabel.Y);
    RecordText(drawn, text, x, softLabel.Y, TextItemKeys[SoftLabelItem], true);

    painter.setClipping(false); // what is drawn next draws within its parts itself
    painter.setBackgroundMode(previousMode);
}
