#include "SkinComparison.h"

#include "ExWord.h"
#include "PreviewFont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>

namespace {

constexpr int Columns = static_cast<int>(PlayStateNames.size());

// Whether look draws picture number (at its role's position).
bool LookDraws(int look, int number)
{
    const PictureRole& role = RoleOfPicture(number);
    const int playState = look % Columns, repetition = look / Columns;
    const int button = role.placedBy - BackwardPos;
    switch (role.shown) {
    case PictureShown::Always: return true;
    case PictureShown::ButtonEnabled: return button == playState;
    case PictureShown::ButtonDisabled: return button != playState;
    case PictureShown::RepetitionOne: return repetition == 0;
    case PictureShown::RepetitionAll: return repetition != 0;
    }
    return false;
}

QRect PictureRect(const SkinDocument& side, int number)
{
    const QImage& picture = side.Pictures[static_cast<std::size_t>(number)];
    const TPicturePos& at = side.Model.PicturePositions[static_cast<std::size_t>(RoleOfPicture(number).placedBy)];
    return picture.isNull() ? QRect() : QRect(at.X, at.Y, picture.width(), picture.height());
}

// The pictures a look of side draws, where it draws them.
struct PlacedPicture {
    QRect place;
    const QImage* picture;
};
std::vector<PlacedPicture> LookPictures(const SkinDocument& side, int look)
{
    std::vector<PlacedPicture> placed;
    for (int number = 0; number < SkinPictureCount; ++number)
        if (LookDraws(look, number) && !PictureRect(side, number).isNull())
            placed.push_back({PictureRect(side, number), &side.Pictures[static_cast<std::size_t>(number)]});
    return placed;
}

// Whether one of the pictures paints the pixel at x, y.
bool PicturePaints(const std::vector<PlacedPicture>& pictures, int x, int y)
{
    return std::any_of(pictures.begin(), pictures.end(), [&](const PlacedPicture& placed) {
        const QRect& at = placed.place;
        return x >= at.left() && x <= at.right() && y >= at.top() && y <= at.bottom()
            && qAlpha(placed.picture->pixel(x - placed.place.left(), y - placed.place.top())) != 0;
    });
}

// The look's preview within sheet, sharing its pixels.
QImage Cell(const QImage& sheet, const SheetLayout& layout, int look)
{
    const QRect inner = layout.PreviewRect(look % Columns, look / Columns);
    return QImage(sheet.constBits() + inner.top() * sheet.bytesPerLine() + inner.left() * 4, ScreenWidth,
                  ScreenHeight, sheet.bytesPerLine(), QImage::Format_RGB32);
}

// B's pixel faded towards white, for the pixels that are the same on both sides.
inline QRgb Faded(QRgb pixel)
{
    return ((pixel >> 2) & 0x3F3F3Fu) + 0xFFC0C0C0u;
}

// What each pixel of a look is: the same on both sides, or which mark it has.
enum PixelKind : std::uint8_t { SamePixel, ChangedPixel, AddedPixel, RemovedPixel };
using PixelKinds = std::array<std::uint8_t, ScreenWidth * ScreenHeight>;

// Compares the cells within area (in the look's pixels), writing the marks and kinds.
void ComparePixels(const QImage& cellA, const QImage& cellB, const std::vector<PlacedPicture>& picturesA,
                   const std::vector<PlacedPicture>& picturesB, const QRect& area, QImage& marked, PixelKinds& kinds)
{
    const int left = area.left(), right = area.right() + 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(cellA.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(cellB.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(marked.scanLine(y));
        std::uint8_t* kind = kinds.data() + y * ScreenWidth;
        for (int x = left; x < right; ++x)
            out[x] = Faded(rowB[x]);
        std::fill(kind + left, kind + right, SamePixel);
        if (std::memcmp(rowA + left, rowB + left, static_cast<std::size_t>(right - left) * sizeof(QRgb)) == 0)
            continue;
        for (int x = left; x < right; ++x) {
            if (rowA[x] == rowB[x])
                continue;
            const bool inA = PicturePaints(picturesA, x, y), inB = PicturePaints(picturesB, x, y);
            kind[x] = inA == inB ? ChangedPixel : inB ? AddedPixel : RemovedPixel;
            out[x] = inA == inB ? ChangedMark : inB ? AddedMark : RemovedMark;
        }
    }
}

LookDifference Summary(const PixelKinds& kinds)
{
    static const std::array<std::uint8_t, ScreenWidth> none{};
    LookDifference difference;
    int left = ScreenWidth, top = ScreenHeight, right = -1, bottom = -1;
    for (int y = 0; y < ScreenHeight; ++y) {
        const std::uint8_t* kind = kinds.data() + y * ScreenWidth;
        if (std::memcmp(kind, none.data(), ScreenWidth) == 0)
            continue;
        top = std::min(top, y), bottom = y;
        for (int x = 0; x < ScreenWidth; ++x) {
            if (kind[x] == SamePixel)
                continue;
            ++difference.changed;
            difference.added += kind[x] == AddedPixel;
            difference.removed += kind[x] == RemovedPixel;
            left = std::min(left, x), right = std::max(right, x);
        }
    }
    if (difference.changed > 0)
        difference.bounds = QRect(QPoint(left, top), QPoint(right, bottom));
    return difference;
}

// Where look's drawing can differ from the first look's, on either side: under the
// pictures that one of the two draws and the other does not. Elsewhere the states
// sheet copies the first look, and so does the comparison.
QRegion ApartFromFirst(const SkinDocument& a, const SkinDocument& b, int look)
{
    QRegion area;
    for (int number = 0; number < SkinPictureCount; ++number)
        if (LookDraws(look, number) != LookDraws(0, number))
            area += PictureRect(a, number).united(PictureRect(b, number)) & QRect(0, 0, ScreenWidth, ScreenHeight);
    return area;
}

} // namespace

void SkinLooks::Draw(const SkinDocument& document, const TextLines& langLines, const PreviewSettings& base)
{
    DrawStatesSheet(sheet_, document, langLines, base, cache_);
}

PreviewSettings LookSettings(const PreviewSettings& base, int look)
{
    PreviewSettings settings = base;
    settings.playState = look % Columns;
    settings.repetition = look / Columns;
    return settings;
}

void CompareSkins(const SkinDocument& a, const SkinLooks& looksA, const SkinDocument& b, const SkinLooks& looksB,
                  SkinComparison& comparison)
{
    comparison.rows = DocumentDifferences(a, b);
    const QImage& sheetB = looksB.Sheet();
    comparison.looks = {};
    if (sheetB.isNull() || looksA.Sheet().size() != sheetB.size())
        return; // a side that could not be drawn has no looks to compare
    if (comparison.marked.size() != sheetB.size())
        comparison.marked = sheetB.copy(); // the frames and labels, drawn once
    const SheetLayout layout;
    const auto cellOf = [&](QImage& sheet, int look) {
        // Written in place: the cell shares the marked sheet's pixels.
        const QRect inner = layout.PreviewRect(look % Columns, look / Columns);
        return QImage(sheet.bits() + inner.top() * sheet.bytesPerLine() + inner.left() * 4, ScreenWidth, ScreenHeight,
                      sheet.bytesPerLine(), QImage::Format_RGB32);
    };
    // The first look is compared whole; each other one is the first's result compared
    // again where its state's pictures lie.
    PixelKinds first{};
    PixelKinds kinds{};
    const QImage firstMarked = cellOf(comparison.marked, 0);
    for (int look = 0; look < LookCount; ++look) {
        QImage marked = cellOf(comparison.marked, look);
        const QImage cellA = Cell(looksA.Sheet(), layout, look), cellB = Cell(sheetB, layout, look);
        const std::vector<PlacedPicture> picturesA = LookPictures(a, look), picturesB = LookPictures(b, look);
        if (look == 0) {
            ComparePixels(cellA, cellB, picturesA, picturesB, QRect(0, 0, ScreenWidth, ScreenHeight), marked, first);
            kinds = first;
        } else {
            for (int y = 0; y < ScreenHeight; ++y)
                std::copy_n(firstMarked.constScanLine(y), ScreenWidth * 4, marked.scanLine(y));
            kinds = first;
            for (const QRect& area : ApartFromFirst(a, b, look))
                ComparePixels(cellA, cellB, picturesA, picturesB, area, marked, kinds);
        }
        const LookDifference difference = Summary(kinds);
        comparison.looks[static_cast<std::size_t>(look)] = difference;
        if (difference.changed == 0)
            continue;
        QString text = SheetLabel(look % Columns, look / Columns) + QStringLiteral(": ")
            + CountOf(difference.changed, "pixel differs", "pixels differ");
        if (difference.added > 0 || difference.removed > 0)
            text += QStringLiteral(" (%1 added, %2 removed)").arg(difference.added).arg(difference.removed);
        comparison.rows.push_back(DifferenceRow(DifferenceKind::Look, text));
        comparison.rows.back().look = look;
    }
}

std::vector<QRect> DifferencePlaces(const SkinDifference& row, const SkinDocument& side, const TextLines& langLines,
                                    const PreviewSettings& look, const SkinComparison& comparison)
{
    const int index = LookIndex(look.playState, look.repetition);
    std::vector<QRect> places;
    switch (row.kind) {
    case DifferenceKind::Look:
        if (row.look == index)
            places.push_back(comparison.looks[static_cast<std::size_t>(index)].bounds);
        break;
    case DifferenceKind::Picture:
        if (LookDraws(index, row.picture) && !PictureRect(side, row.picture).isNull())
            places.push_back(PictureRect(side, row.picture));
        break;
    case DifferenceKind::Line: {
        if (row.key.empty() || !side.SkinLoaded)
            break;
        std::vector<DrawnElement> drawn;
        QImage scratch = NewPreviewSurface();
        DrawPreview(scratch, side.Model, side.Pictures, langLines, look, &drawn);
        for (const DrawnElement& element : drawn)
            if (element.key == row.key && !element.bounds.isEmpty())
                places.push_back(element.bounds);
        break;
    }
    }
    return places;
}

QImage ComparisonSheet(const QImage& sheetA, const QImage& sheetB, const QImage& marked)
{
    const QFont font = PreviewFont(DefaultFontSize, FontBold);
    const int title = QFontMetrics(font).height() + SheetLayout::Margin;
    const std::array<std::pair<const QImage*, QString>, 3> parts = {{
        {&sheetA, QStringLiteral("A")}, {&sheetB, QStringLiteral("B")},
        {&marked, QStringLiteral("Differences, on B faded:")}}};
    QImage sheet(sheetB.width(), 3 * (sheetB.height() + title), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(font);
    int top = 0;
    for (const auto& [part, name] : parts) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(SheetLayout::Margin, top + SheetLayout::Margin, sheet.width(), title), Qt::AlignLeft | Qt::AlignTop,
                         name);
        if (part == &marked) {
            // The legend: each kind of mark in its own colour.
            int x = SheetLayout::Margin + painter.fontMetrics().horizontalAdvance(name + QLatin1Char(' '));
            for (const auto& [color, word] : {std::pair(ChangedMark, "changed"), std::pair(AddedMark, "added"),
                                               std::pair(RemovedMark, "removed")}) {
                painter.setPen(QColor(color));
                const QString text = QLatin1String(word) + QLatin1Char(' ');
                painter.drawText(QPoint(x, top + SheetLayout::Margin + painter.fontMetrics().ascent()), text);
                x += painter.fontMetrics().horizontalAdvance(text);
            }
        }
        painter.drawImage(0, top + title, *part);
        top += title + part->height();
    }
    return sheet;
}
