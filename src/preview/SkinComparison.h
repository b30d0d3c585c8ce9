#pragma once
// Two skins side by side, A (the earlier or other one) and B: what differs in their
// lines and pictures, named as an author reads it, and their ten looks as the
// all-states sheet draws them, with the pixels that differ marked. Exact: any pixel
// that differs counts. vellumark-skin diff prints it and the editor's compare window
// shows it, so both come from here. Needs a QGuiApplication.
#include "PreviewCache.h"
#include "PreviewRenderer.h"
#include "StatesSheet.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <string>
#include <vector>

inline constexpr int LookCount = static_cast<int>(PlayStateNames.size() * RepeatNames.size());

// The colours of the marked picture: a pixel that differs, one that only B paints
// (A's picture is transparent there) and one that only A paints.
inline constexpr QRgb ChangedMark = 0xFFFF00FF;
inline constexpr QRgb AddedMark = 0xFF00B000;
inline constexpr QRgb RemovedMark = 0xFFFF2000;

enum class DifferenceKind { Line, Picture, Look };

// One row of what differs. Its text is the row's words, the same in the window and
// on the command line: "Artist: X 88 → 101", "12.gif: 96 pixels changed",
// "pause / one: 96 pixels differ".
struct SkinDifference {
    DifferenceKind kind = DifferenceKind::Line;
    QString text;
    SkinCategory category = SkinCategory::Strings; // Line: the element's category,
    std::string key;                               // and key; empty for a line of no element
    int picture = -1;                              // Picture: "N.gif"
    int look = -1;                                 // Look: LookIndex
};

// Looks are numbered repetition by repetition, play state by play state.
inline int LookIndex(int playState, int repetition)
{
    return repetition * static_cast<int>(PlayStateNames.size()) + playState;
}

// The ten looks of one skin, drawn into an all-states sheet that is kept between
// drawings with the texts it shaped.
class SkinLooks {
public:
    // Ten DrawPreview calls, the first whole and the others within what their state changes.
    void Draw(const SkinDocument& document, const TextLines& langLines, const PreviewSettings& base);
    const QImage& Sheet() const { return sheet_; }
    void Forget() { sheet_ = QImage(); }

private:
    QImage sheet_;
    PreviewCache cache_;
};

// What the looks of both sides show, pixel for pixel.
struct LookDifference {
    int changed = 0; // pixels that differ, the added and removed among them
    int added = 0;
    int removed = 0;
    QRect bounds;    // around them, in the look's own pixels
};

struct SkinComparison {
    std::vector<SkinDifference> rows; // lines, then pictures, then looks
    std::array<LookDifference, LookCount> looks;
    // B faded, the pixels that differ in the mark colours, as an all-states sheet.
    QImage marked;
    bool Same() const { return rows.empty(); }
};

// The rows of the lines and pictures that differ.
std::vector<SkinDifference> DocumentDifferences(const SkinDocument& a, const SkinDocument& b);

// A row of kind with text, naming no place.
SkinDifference DifferenceRow(DifferenceKind kind, const QString& text);
// "1 pixel differs", "3 pixels differ": n with the words for one or many.
QString CountOf(int n, const char* one, const char* many);

// Compares the drawn looks of a and b and names every difference. comparison's
// marked sheet is kept and drawn again in place.
void CompareSkins(const SkinDocument& a, const SkinLooks& looksA, const SkinDocument& b, const SkinLooks& looksB,
                  SkinComparison& comparison);

// Where row's subject lies in a look of side: the element's boxes as drawn, the
// picture's rectangle where the look draws it, the pixels that differ; in the look's
// own pixels. Draws the look once for an element's row.
std::vector<QRect> DifferencePlaces(const SkinDifference& row, const SkinDocument& side, const TextLines& langLines,
                                    const PreviewSettings& look, const SkinComparison& comparison);

// The settings of a look, with the volume of base.
PreviewSettings LookSettings(const PreviewSettings& base, int look);

// A's sheet above B's above the marked one, each under its title: what diff -o writes.
QImage ComparisonSheet(const QImage& sheetA, const QImage& sheetB, const QImage& marked);
