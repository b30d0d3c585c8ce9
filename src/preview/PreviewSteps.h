#pragma once
// The steps of DrawPreview and the canvas operations they share, each
// callable on its own so tests can reach them. All of them paint with a QPainter
// that is active on a preview surface (RGB32); none keeps state between calls.
// Everything that touches fonts needs a QGuiApplication.
#include "PreviewRenderer.h"
#include "SkinNumbers.h"

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QString>

#include <cstdint>

class QPainter;

// ---- Fonts ------------------------------------------------------------------

// The preview's one face and its default height: "size 0" draws at this pixel size.
inline constexpr const char* PreviewFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char* PreviewFontFallbackFamily = "DejaVu Sans";
inline constexpr int PreviewFontPixelSize = 11;

// The family of the preview's face. Loads DejaVu Sans (regular, bold, oblique and
// bold oblique) from fonts-dejavu-core by file on the first call; falls back to
// the family name when the files cannot be loaded.
QString PreviewFontFamily();

// The preview's face at a font size (0: the default 11 px; otherwise points at
// 96 dpi) with bold and italic from style. Never antialiased, fully hinted.
QFont PreviewFont(int size, FontStyleSet style);

// ---- Canvas operations ------------------------------------------------------
// Rectangles are (left, top, right, bottom), right and bottom exclusive, computed
// in 64 bits so that no object value can overflow. A rectangle whose right is not
// right of its left, or whose bottom is not below its top, paints nothing.

// Paints the pixels left <= x < right, top <= y < bottom.
void FillRect(QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, RgbColor color);

// Paints the one-pixel outline of the same area.
void FrameRect(QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
               std::int64_t bottom, RgbColor color);

// Draws picture with its top-left corner at (x, y), at its natural size, over the
// surface: pixels of alpha 0 leave the surface unchanged. A null picture draws nothing.
void DrawPicture(QPainter& painter, const QImage& picture, std::int64_t x, std::int64_t y);

// ---- Texts ------------------------------------------------------------------

// LangLines line lineNumber as the preview draws it (8-bit text read as Latin-1);
// an empty text when langLines has no such line.
QString SampleText(const TextLines& langLines, int lineNumber);

// The text origin (top-left corner of the text's cell) for a text of width W and
// height H anchored at (x, y) by anchor (the twelve anchor values); an anchor outside the
// twelve places the cell's top-left at (x, y). Saturates to the int range.
QPoint AnchorOrigin(std::int32_t x, std::int32_t y, std::int32_t anchor, int width, int height);

// AnchorPoint: AnchorOrigin of the item with the text measured in
// metrics (width = horizontalAdvance, height = height()); measures only what the
// anchor needs.
QPoint AnchorPoint(const TSkiStr& item, const QString& text, const QFontMetrics& metrics);

// Sets the painter's font (face, FontSize of the item's FontId, FontStyle) and pen
// colour (the item's Color) for drawing the item's text.
void SetItemFont(QPainter& painter, const TSkiStr& item);

// Draws text as one line with its cell's top-left corner at (x, y), glyphs only.
void DrawTextAt(QPainter& painter, const QString& text, int x, int y);

// DrawSkiStr: the item with the text of LangLines line lineNumber, placed by AnchorPoint.
// Returns the text's cell (origin, advance, font height); empty for an empty text.
QRect DrawSkiStr(QPainter& painter, const TSkiStr& item, const TextLines& langLines, int lineNumber);

// The nine text items with LangLines lines 0 to 8, then the right soft label
// (line 9) mirrored from SoftLabel, with a transparent text background.
void DrawTexts(QPainter& painter, const TSkinModel& model, const TextLines& langLines,
               std::vector<DrawnElement>* drawn = nullptr);

// ---- Pictures and bars ------------------------------------------------------


// The five transport buttons: the one whose index equals playState shows its
// enabled picture, the others their disabled ones.
void DrawButtons(QPainter& painter, const TSkinModel& model, const PictureSlots& pictures, int playState,
                 std::vector<DrawnElement>* drawn = nullptr);

// How far the bars' coloured fills reach right of their x (truncating
// toward zero): w div 2 for the progress bar, level * (w div 7) + (w mod 7) for the
// volume bar (w = 50: levels 0, 2, 7 give 1, 15, 50).
std::int64_t ProgressFillWidth(std::int32_t w);
std::int64_t VolumeFillWidth(std::int32_t w, int level);

// The progress bar (always half filled) and, when settings.volumeShown, the volume
// bar at settings.volumeLevel (not clamped).
void DrawBars(QPainter& painter, const TSkinModel& model, const PreviewSettings& settings,
              std::vector<DrawnElement>* drawn = nullptr);
