#include "PreviewRenderer.h"

#include "PreviewFont.h"
#include "PreviewCache.h"
#include "SkinNumbers.h"

#include <QColor>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cstdint>
#include <limits>

// The steps of DrawPreview. All of them paint with a QPainter that is active on a
// preview surface (RGB32); none keeps state between calls.
namespace {

QColor ToQColor(RgbColor color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

int DeviceWidth(const QPainter& painter)
{
    return painter.device() ? painter.device()->width() : ScreenWidth;
}

int DeviceHeight(const QPainter& painter)
{
    return painter.device() ? painter.device()->height() : ScreenHeight;
}

// A coordinate limited to just outside the device: clipping by the surface then
// gives the same pixels, and QPainter never sees a huge number.
int Limit(std::int64_t value, int size)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, -2, static_cast<std::int64_t>(size) + 2));
}

int Saturate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
}

// Whether the area left <= x < right, top <= y < bottom meets the device, and the
// clip when there is one: a redraw of part of the surface skips what lies outside it.
bool MeetsDevice(const QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
                 std::int64_t bottom)
{
    if (!(right > 0 && bottom > 0 && left < DeviceWidth(painter) && top < DeviceHeight(painter)
          && right > left && bottom > top))
        return false;
    if (!painter.hasClipping())
        return true;
    const QRectF clip = painter.clipBoundingRect();
    return right > clip.left() && bottom > clip.top() && left < clip.right() && top < clip.bottom();
}

constexpr std::int64_t BoundsLimit = std::int64_t{1} << 24;

// Lists an element's rectangle left <= x < right, top <= y < bottom when it is not
// empty. Far-off values are limited so that QRect's arithmetic cannot overflow.
void Record(std::vector<DrawnElement>* drawn, SkinCategory category, const char* key, std::int64_t left,
            std::int64_t top, std::int64_t right, std::int64_t bottom, bool mirrored = false)
{
    if (drawn == nullptr || right <= left || bottom <= top)
        return;
    const auto at = [](std::int64_t value) {
        return static_cast<int>(std::clamp<std::int64_t>(value, -BoundsLimit, BoundsLimit));
    };
    drawn->push_back(DrawnElement{category, key, QRect(QPoint(at(left), at(top)), QPoint(at(right) - 1, at(bottom) - 1)),
                                  mirrored});
}

// Sets up a painter on the surface for pixel-exact drawing.
void PreparePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBackgroundMode(Qt::OpaqueMode); // DrawTexts switches it to transparent
}

// ---- Canvas operations ------------------------------------------------------

// Rectangles are (left, top, right, bottom), right and bottom exclusive, computed
// in 64 bits so that no object value can overflow. A rectangle whose right is not
// right of its left, or whose bottom is not below its top, paints nothing.

// Paints the pixels left <= x < right, top <= y < bottom.
void FillRect(QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, RgbColor color)
{
    if (!MeetsDevice(painter, left, top, right, bottom))
        return;
    const int w = DeviceWidth(painter);
    const int h = DeviceHeight(painter);
    const int l = Limit(left, w);
    const int t = Limit(top, h);
    const int r = Limit(right, w);
    const int b = Limit(bottom, h);
    painter.fillRect(QRect(l, t, r - l, b - t), ToQColor(color));
}

// Paints the one-pixel outline of the same area.
void FrameRect(QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
               std::int64_t bottom, RgbColor color)
{
    if (right <= left || bottom <= top)
        return;
    FillRect(painter, left, top, right, top + 1, color);          // top row
    FillRect(painter, left, bottom - 1, right, bottom, color);    // bottom row
    FillRect(painter, left, top, left + 1, bottom, color);        // left column
    FillRect(painter, right - 1, top, right, bottom, color);      // right column
}

// Draws picture with its top-left corner at (x, y), at its natural size, over the
// surface: pixels of alpha 0 leave the surface unchanged. A null picture draws nothing.
void DrawPicture(QPainter& painter, PreviewCache* cache, const QImage& picture, std::int64_t x, std::int64_t y)
{
    if (picture.isNull())
        return;
    if (!MeetsDevice(painter, x, y, x + picture.width(), y + picture.height()))
        return;
    const QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Only the part on the surface is handed on: a picture of one byte a pixel is
    // converted for drawing, and a 1024x1024 one would be converted whole each time.
    const QRect onSurface = QRect(0, 0, DeviceWidth(painter), DeviceHeight(painter))
                                .intersected(QRect(static_cast<int>(x), static_cast<int>(y), picture.width(),
                                                   picture.height()));
    const QRect part = onSurface.translated(-static_cast<int>(x), -static_cast<int>(y));
    const QImage* ready = cache != nullptr ? &cache->Picture(picture, part) : nullptr;
    if (ready != nullptr && !ready->isNull())
        painter.drawImage(onSurface.topLeft(), *ready);
    else
        painter.drawImage(onSurface.topLeft(), picture, part);
    painter.setCompositionMode(mode);
}

// Draws picture number, placed by position's line, and lists it under that line's key.
void DrawPlaced(QPainter& painter, PreviewCache* cache, const TPicturePos& at, const PictureSlots& pictures, int number,
                PictureIndex position, std::vector<DrawnElement>* drawn)
{
    const QImage& picture = pictures[static_cast<std::size_t>(number)];
    DrawPicture(painter, cache, picture, at.X, at.Y);
    if (!picture.isNull() && drawn != nullptr) {
        Record(drawn, SkinCategory::Pictures, PictureKeys[static_cast<std::size_t>(position)], at.X, at.Y,
               std::int64_t{at.X} + picture.width(), std::int64_t{at.Y} + picture.height());
        drawn->back().picture = number;
    }
}

// ---- Texts ------------------------------------------------------------------

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
        painter.setFont(PreviewFont(size, item.FontStyle));
        const QFontMetrics metrics = painter.fontMetrics();
        prepared.text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
        prepared.advance = metrics.horizontalAdvance(prepared.text);
        prepared.height = metrics.height();
        prepared.ascent = metrics.ascent();
        return prepared;
    }
    const PreviewCache::Face& face = cache->FaceFor(size, item.FontStyle);
    prepared.height = face.height;
    prepared.ascent = face.ascent;
    if (prepared.empty)
        return prepared;
    prepared.shaped = &cache->Text(bytes, size, item.FontStyle);
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

// The nine text items with LangLines lines 0 to 8, then the right soft label
// (line 9) mirrored from SoftLabel, with a transparent text background.
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

// ---- Pictures and bars ------------------------------------------------------

// The five transport buttons: the one whose index equals playState shows its
// enabled picture, the others their disabled ones.
void DrawButtons(QPainter& painter, PreviewCache* cache, const TSkinModel& model, const PictureSlots& pictures,
                 int playState, std::vector<DrawnElement>* drawn)
{
    for (int button = 0; button < 5; ++button) {
        const auto position = static_cast<PictureIndex>(BackwardPos + button);
        const int number =
            PictureAt(position, playState == button ? PictureShown::ButtonEnabled : PictureShown::ButtonDisabled);
        const TPicturePos& at = model.PicturePositions[static_cast<std::size_t>(position)];
        DrawPlaced(painter, cache, at, pictures, number, position, drawn);
    }
}

// How far the bars' coloured fills reach right of their x (truncating toward zero):
// w div 2 for the progress bar, level * (w div 7) + (w mod 7) for the volume bar.
std::int64_t ProgressFillWidth(std::int32_t w)
{
    return std::int64_t{w} / 2;
}

std::int64_t VolumeFillWidth(std::int32_t w, int level)
{
    return std::int64_t{level} * (std::int64_t{w} / 7) + std::int64_t{w} % 7;
}

// The progress bar (always half filled) and, when settings.volumeShown, the volume
// bar at settings.volumeLevel (not clamped).
void DrawBars(QPainter& painter, const TSkinModel& model, const PreviewSettings& settings,
              std::vector<DrawnElement>* drawn)
{
    const RgbColor background = HexToColor(model.SkinObjects[BackgroundObject].Color);
    const RgbColor black = MakeRgb(0, 0, 0);

    const TSkiObject& progress = model.SkinObjects[ProgressBarObject];
    {
        const std::int64_t x = progress.X, y = progress.Y, w = progress.W, h = progress.H;
        FillRect(painter, x, y, x + w, y + h, background);
        FillRect(painter, x, y, x + ProgressFillWidth(progress.W), y + h, HexToColor(progress.Color));
        FrameRect(painter, x, y, x + w, y + h, black);
        Record(drawn, SkinCategory::Objects, ObjectKeys[ProgressBarObject], x, y, x + w, y + h);
    }

    if (!settings.volumeShown)
        return;
    const TSkiObject& volume = model.SkinObjects[VolumeBarObject];
    const std::int64_t x = volume.X, y = volume.Y, w = volume.W, h = volume.H;
    FillRect(painter, x, y, x + w, y + h, background);
    FillRect(painter, x, y, x + VolumeFillWidth(volume.W, settings.volumeLevel), y + h, HexToColor(volume.Color));
    FrameRect(painter, x, y, x + w, y + h, black);
    Record(drawn, SkinCategory::Objects, ObjectKeys[VolumeBarObject], x, y, x + w, y + h);
}

} // namespace

// ---- The entry --------------------------------------------------------------

QImage NewPreviewSurface()
{
    QImage surface(ScreenWidth, ScreenHeight, QImage::Format_RGB32);
    surface.fill(Qt::white);
    return surface;
}

void DrawPreview(QImage& surface, const TSkinModel& model, const PictureSlots& pictures,
                 const TextLines& langLines, const PreviewSettings& settings, std::vector<DrawnElement>* drawn,
                 PreviewCache* cache, const QRegion* clip)
{
    // The surface is made on the first drawing; one of another kind is replaced.
    if (surface.isNull() || surface.size() != QSize(ScreenWidth, ScreenHeight)
        || surface.format() != QImage::Format_RGB32)
        surface = NewPreviewSurface();

    QPainter painter(&surface);
    PreparePainter(painter);
    if (clip != nullptr)
        painter.setClipRegion(*clip);

    // 1. Background: W and H are the right and bottom edges.
    const TSkiObject& background = model.SkinObjects[EdgeSizedObject];
    FillRect(painter, background.X, background.Y, background.W, background.H, HexToColor(background.Color));
    Record(drawn, SkinCategory::Objects, ObjectKeys[EdgeSizedObject], background.X, background.Y, background.W,
           background.H);

    // The picture placed by position's line when shown holds.
    const auto drawAt = [&](PictureIndex position, PictureShown shown) {
        DrawPlaced(painter, cache, model.PicturePositions[static_cast<std::size_t>(position)], pictures,
                   PictureAt(position, shown), position, drawn);
    };

    // 2.-3. Title and soft picture.
    drawAt(TitlePicturePos, PictureShown::Always);
    drawAt(SoftPicturePos, PictureShown::Always);
    // 4. Transport buttons.
    DrawButtons(painter, cache, model, pictures, settings.playState, drawn);
    // 5. Random, always.
    drawAt(RandomPos, PictureShown::Always);
    // 6. Exactly one repetition icon.
    if (settings.repetition == 0)
        drawAt(RepetitionOnePos, PictureShown::RepetitionOne);
    else
        drawAt(RepetitionAllPos, PictureShown::RepetitionAll);
    // 7.-8. Bars and texts.
    DrawBars(painter, model, settings, drawn);
    DrawTexts(painter, cache, model, langLines, drawn);
    // 9. The status-line overlay over everything else.
    if (model.StatusLine == 1)
        DrawPicture(painter, cache, pictures[StatusLineSlot], 0, 0);
}

void DrawPreview(QImage& surface, const SkinDocument& document, const PreviewSettings& settings,
                 std::vector<DrawnElement>* drawn, PreviewCache* cache)
{
    DrawPreview(surface, document.Model, document.Pictures, document.LangLines, settings, drawn, cache);
}
