#include "PreviewRenderer.h"

#include "PreviewFont.h"
#include "PreviewCache.h"
#include "PreviewPainting.h"
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

// ---- Canvas operations ------------------------------------------------------

// Rectangles are (left, top, right, bottom), right and bottom exclusive, computed
// in 64 bits so that no object value can overflow. A rectangle whose right is not
// right of its left, or whose bottom is not below its top, paints nothing.

// Paints the pixels left <= x < right, top <= y < bottom.
void FillRect(PreviewPaint& paint, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, RgbColor color)
{
    const QColor fill = ToQColor(color);
    InParts(paint, left, top, right, bottom, [&](const QRect&, const QRect& within) { paint.painter.fillRect(within, fill); });
}

// Paints the one-pixel outline of the same area.
void FrameRect(PreviewPaint& paint, std::int64_t left, std::int64_t top, std::int64_t right,
               std::int64_t bottom, RgbColor color)
{
    if (right <= left || bottom <= top)
        return;
    FillRect(paint, left, top, right, top + 1, color);          // top row
    FillRect(paint, left, bottom - 1, right, bottom, color);    // bottom row
    FillRect(paint, left, top, left + 1, bottom, color);        // left column
    FillRect(paint, right - 1, top, right, bottom, color);      // right column
}

// Draws picture with its top-left corner at (x, y), at its natural size, over the
// surface (SourceOver, as PreparePainter set): pixels of alpha 0 leave the surface
// unchanged. A null picture draws nothing.
void DrawPicture(PreviewPaint& paint, const QImage& picture, std::int64_t x, std::int64_t y)
{
    if (picture.isNull())
        return;
    QRect onSurface;
    const QImage* converted = nullptr;
    InParts(paint, x, y, x + picture.width(), y + picture.height(), [&](const QRect&, const QRect& within) {
        const QPoint at(static_cast<int>(x), static_cast<int>(y)); // it meets the surface: within the int range
        if (onSurface.isNull()) {
            onSurface = QRect(0, 0, paint.width, paint.height).intersected(QRect(at, picture.size()));
            // Only the part on the surface: a picture of one byte a pixel is converted for
            // drawing, and a 1024x1024 one would be converted whole each time.
            if (paint.cache != nullptr)
                converted = &paint.cache->Picture(picture, onSurface.translated(-at));
        }
        if (converted != nullptr && !converted->isNull())
            paint.painter.drawImage(within.topLeft(), *converted, within.translated(-onSurface.topLeft()));
        else
            paint.painter.drawImage(within.topLeft(), picture, within.translated(-at));
    });
}

// Draws picture number, placed by position's line, and lists it under that line's key.
void DrawPlaced(PreviewPaint& paint, const TPicturePos& at, const PictureSlots& pictures, int number,
                PictureIndex position, std::vector<DrawnElement>* drawn)
{
    const QImage& picture = pictures[static_cast<std::size_t>(number)];
    DrawPicture(paint, picture, at.X, at.Y);
    if (!picture.isNull() && drawn != nullptr) {
        Record(drawn, SkinCategory::Pictures, PictureKeys[static_cast<std::size_t>(position)], at.X, at.Y,
               std::int64_t{at.X} + picture.width(), std::int64_t{at.Y} + picture.height());
        drawn->back().picture = number;
    }
}

// ---- Pictures and bars ------------------------------------------------------

// The five transport buttons: the one whose index equals playState shows its
// enabled picture, the others their disabled ones.
void DrawButtons(PreviewPaint& paint, const TSkinModel& model, const PictureSlots& pictures,
                 int playState, std::vector<DrawnElement>* drawn)
{
    for (int button = 0; button < static_cast<int>(PlayStateNames.size()); ++button) {
        const auto position = static_cast<PictureIndex>(BackwardPos + button);
        const int number =
            PictureAt(position, playState == button ? PictureShown::ButtonEnabled : PictureShown::ButtonDisabled);
        const TPicturePos& at = model.PicturePositions[static_cast<std::size_t>(position)];
        DrawPlaced(paint, at, pictures, number, position, drawn);
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
void DrawBars(PreviewPaint& paint, const TSkinModel& model, const PreviewSettings& settings,
              std::vector<DrawnElement>* drawn)
{
    const RgbColor background = HexToColor(model.SkinObjects[BackgroundObject].Color);
    const RgbColor black = MakeRgb(0, 0, 0);

    const TSkiObject& progress = model.SkinObjects[ProgressBarObject];
    {
        const std::int64_t x = progress.X, y = progress.Y, w = progress.W, h = progress.H;
        FillRect(paint, x, y, x + w, y + h, background);
        FillRect(paint, x, y, x + ProgressFillWidth(progress.W), y + h, HexToColor(progress.Color));
        FrameRect(paint, x, y, x + w, y + h, black);
        Record(drawn, SkinCategory::Objects, ObjectKeys[ProgressBarObject], x, y, x + w, y + h);
    }

    if (!settings.volumeShown)
        return;
    const TSkiObject& volume = model.SkinObjects[VolumeBarObject];
    const std::int64_t x = volume.X, y = volume.Y, w = volume.W, h = volume.H;
    FillRect(paint, x, y, x + w, y + h, background);
    FillRect(paint, x, y, x + VolumeFillWidth(volume.W, settings.volumeLevel), y + h, HexToColor(volume.Color));
    FrameRect(paint, x, y, x + w, y + h, black);
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
                 PreviewCache* cache, const std::vector<QRect>* clip)
{
    // The surface is made on the first drawing; one of another kind is replaced.
    if (surface.isNull() || surface.size() != QSize(ScreenWidth, ScreenHeight)
        || surface.format() != QImage::Format_RGB32)
        surface = NewPreviewSurface();

    QPainter painter(&surface);
    PreparePainter(painter);
    PreviewPaint paint(painter, cache, clip);

    // 1. Background: W and H are the right and bottom edges.
    const TSkiObject& background = model.SkinObjects[EdgeSizedObject];
    FillRect(paint, background.X, background.Y, background.W, background.H, HexToColor(background.Color));
    Record(drawn, SkinCategory::Objects, ObjectKeys[EdgeSizedObject], background.X, background.Y, background.W,
           background.H);

    // The picture placed by position's line when shown holds.
    const auto drawAt = [&](PictureIndex position, PictureShown shown) {
        DrawPlaced(paint, model.PicturePositions[static_cast<std::size_t>(position)], pictures,
                   PictureAt(position, shown), position, drawn);
    };

    // 2.-3. Title and soft picture.
    drawAt(TitlePicturePos, PictureShown::Always);
    drawAt(SoftPicturePos, PictureShown::Always);
    // 4. Transport buttons.
    DrawButtons(paint, model, pictures, settings.playState, drawn);
    // 5. Random, always.
    drawAt(RandomPos, PictureShown::Always);
    // 6. Exactly one repetition icon.
    if (settings.repetition == 0)
        drawAt(RepetitionOnePos, PictureShown::RepetitionOne);
    else
        drawAt(RepetitionAllPos, PictureShown::RepetitionAll);
    // 7.-8. Bars and texts.
    DrawBars(paint, model, settings, drawn);
    DrawTexts(paint, model, langLines, drawn);
    // 9. The status-line overlay over everything else.
    if (model.StatusLine == 1)
        DrawPicture(paint, pictures[StatusLineSlot], 0, 0);
}

void DrawPreview(QImage& surface, const SkinDocument& document, const PreviewSettings& settings,
                 std::vector<DrawnElement>* drawn, PreviewCache* cache)
{
    DrawPreview(surface, document.Model, document.Pictures, document.LangLines, settings, drawn, cache);
}
