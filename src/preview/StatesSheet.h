#pragma once
// The ten looks of a skin on one picture: the five play states side by side, one
// row per repetition mode, each preview in a one-pixel frame with its label under
// it. vellumark-skin sheet writes it and the editor's all-states window shows it,
// so both come from here. Also the whole-number enlargement and the PNG writing
// that the exports share.
#include "PreviewCache.h"
#include "PreviewRenderer.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <array>

// A play state's name (index 0 to 4 of PlayStateNames) and the repetition modes'
// names (index 0, 1), as the command line spells them and the sheet labels them.
QString PlayStateWord(int playState);
inline constexpr std::array<const char*, 2> RepeatNames = {"one", "all"};

// Whole-number scales of an exported picture.
inline constexpr int MaxScale = 8;

// Where the sheet puts each preview; needs a QGuiApplication (the label's font).
struct SheetLayout {
    static constexpr int Margin = 8;   // around and between the cells
    static constexpr int LabelGap = 3; // between a preview's frame and its label

    SheetLayout();
    QSize Size() const;
    // The 176x220 preview of a play state and repetition mode, inside its frame.
    QRect PreviewRect(int playState, int repetition) const;

    int labelHeight;
};

// "play / one": the label of a cell.
QString SheetLabel(int playState, int repetition);

// The sheet of document: each cell is DrawPreview with that play state and
// repetition and the volume of base. Throws SkinError as DrawPreview does.
QImage DrawStatesSheet(const SkinDocument& document, const PreviewSettings& base);
// The same with other sample texts than the document's.
QImage DrawStatesSheet(const SkinDocument& document, const TextLines& langLines, const PreviewSettings& base);
// The same into sheet, which an earlier call may have drawn: its frames and labels
// never change, so they are drawn only when sheet is not yet a sheet; the previews
// draw their texts from cache.
void DrawStatesSheet(QImage& sheet, const SkinDocument& document, const TextLines& langLines,
                     const PreviewSettings& base, PreviewCache& cache);

// Each pixel of image as a factor x factor block (RGB32).
QImage ScaledImage(const QImage& image, int factor);

// Writes image as a PNG whole or not at all, leaving any former file as it was on
// failure. Through a symbolic link, the file it names is written and the link stays;
// a named pipe or a device is refused. Throws "Cannot create file ...".
void WritePng(const QImage& image, const QString& path);
