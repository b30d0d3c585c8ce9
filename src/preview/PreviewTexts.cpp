// The texts of DrawPreview: the sample texts in each item's font, placed by its anchor.
#include "PreviewFont.h"
#include "PreviewPainting.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QRect>

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
    const PreviewCache::ShapedText* shaped = nullptr;
    bool empty = true;
    int advance = 0;
    int height = 0;
    int ascent = 0;
};

// Sets the painter's pen to the item's Color and, where QPainter lays the text out,
// its font (face, FontSize of the item's FontId, FontStyle); measures bytes in it.
ItemText PrepareItemText(QPainter& painter, PreviewCache* cache, const TSkiStr& item, const std::string& bytes)
{
    painter.setPen(ToQColor(HexToColor(item.Color)));
    const int size = FontSizeOfId(item.FontId);
    ItemText prepared;
    prepared.empty = bytes.empty();
    if (cache == nullptr) {
        painter.setFont(PreviewFont(size, item.FontStyle()));
        const QFontMetrics metrics = painter.fontMetrics();
        prepared.text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
        prepared.advance = metrics.horizontalAdvance(prepared.text);
        prepared.height = metrics.height();
        prepared.ascent = metrics.ascent();
        return prepared;
    }
    const PreviewCache::Face& face = cache->FaceFor(size, item.FontStyle());
    prepared.height = face.height;
    prepared.ascent = face.ascent;
    if (prepared.empty)
        return prepared;
    prepared.shaped = &cache->Text(bytes, size, item.FontStyle());
    prepared.advance = prepared.shaped->advance;
    if (!prepared.shaped->shaped) {
        painter.setFont(face.font);
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

// Draws text as one line with its cell's top-left corner at (x, y), glyphs only.
void DrawTextAt(QPainter& painter, const ItemText& text, int x, int y)
{
    if (text.empty)
        return;
    const std::int64_t height = text.height;
    const std::int64_t width = text.advance;
    // Glyphs may reach a little past their cell (italics, overhangs): allow a margin
    // of one cell height, and skip only texts that cannot touch the surface.
    if (!MeetsDevice(painter, std::int64_t{x} - height, std::int64_t{y} - height,
                     std::int64_t{x} + width + height, std::int64_t{y} + 2 * height))
        return;
    if (text.shaped != nullptr && text.shaped->shaped) {
        const QPointF baseline(x, y + text.ascent);
        for (const QGlyphRun& run : text.shaped->runs)
            painter.drawGlyphRun(baseline, run);
        return;
    }
    painter.drawText(QPoint(x, y + text.ascent), text.text);
}

// The item with the text of LangLines line lineNumber, placed by AnchorPoint.
// Returns the text's cell (origin, advance, font height); empty for an empty text.
QRect DrawSkiStr(QPainter& painter, PreviewCache* cache, const TSkiStr& item, const TextLines& langLines,
                 int lineNumber)
{
    const ItemText text = PrepareItemText(painter, cache, item, SampleText(langLines, lineNumber));
    const QPoint origin = AnchorPoint(item, text);
    DrawTextAt(painter, text, origin.x(), origin.y());
    if (text.empty)
        return {};
    return QRect(origin.x(), origin.y(), text.advance, text.height);
}

} // namespace

void DrawTexts(QPainter& painter, PreviewCache* cache, const TSkinModel& model, const TextLines& langLines,
               std::vector<DrawnElement>* drawn)
{
    const Qt::BGMode previousMode = painter.backgroundMode();
    painter.setBackgroundMode(Qt::TransparentMode);

    for (int i = 0; i < TextItemCount; ++i) {
        const QRect box = DrawSkiStr(painter, cache, model.TextItems[static_cast<std::size_t>(i)], langLines, i);
        // The box's own corners: the origin saturates, so no far-off value reaches here.
        if (!box.isEmpty())
            Record(drawn, SkinCategory::Strings, TextItemKeys[static_cast<std::size_t>(i)], box.left(), box.top(),
                   std::int64_t{box.left()} + box.width(), std::int64_t{box.top()} + box.height());
    }

    // The right soft label: the mirror image of a left-and-top-anchored SoftLabel.
    const TSkiStr& softLabel = model.TextItems[SoftLabelItem];
    const ItemText text = PrepareItemText(painter, cache, softLabel, SampleText(langLines, 9));
    const std::int64_t width = text.advance;
    const std::int64_t x = DeviceWidth(painter) - std::int64_t{softLabel.X} - width;
    DrawTextAt(painter, text, Saturate(x), softLabel.Y);
    if (!text.empty)
        Record(drawn, SkinCategory::Strings, TextItemKeys[SoftLabelItem], Saturate(x), softLabel.Y,
               std::int64_t{Saturate(x)} + width, std::int64_t{softLabel.Y} + text.height, true);

    painter.setBackgroundMode(previousMode);
}
