#include "SkinComparison.h"

#include "ExWord.h"
#include "PreviewFont.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>

namespace {

constexpr int Columns = static_cast<int>(PlayStateNames.size());

QString Latin1(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString Name(const std::string& key)
{
    return Latin1(KeyName(key));
}

QLatin1String Side(bool a)
{
    return QLatin1String(a ? "A" : "B");
}

SkinDifference Row(DifferenceKind kind, const QString& text)
{
    SkinDifference row;
    row.kind = kind;
    row.text = text;
    return row;
}

QString Count(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// The value words of a line, as the reader splits them.
std::vector<std::string> ValueWords(const std::string& line)
{
    std::vector<std::string> words;
    const std::string_view values = ValueText(line);
    for (std::size_t n = 1; WordStart(n, values, SkinDelimiters()) != 0; ++n)
        words.push_back(WordAt(n, values, SkinDelimiters()));
    return words;
}

QString FieldName(SkinCategory category, std::size_t word)
{
    const auto layout = LineLayout(category);
    if (word >= layout.size())
        return QStringLiteral("word %1").arg(word + 1);
    switch (layout[word].id) {
    case FieldId::X: return QStringLiteral("X");
    case FieldId::Y: return QStringLiteral("Y");
    case FieldId::W: return QStringLiteral("W");
    case FieldId::H: return QStringLiteral("H");
    default: return QString::fromLatin1(layout[word].name);
    }
}

bool IsColourWord(const std::string& word)
{
    return word.size() == 10 && word.compare(0, 2, "0x") == 0
        && std::all_of(word.begin() + 2, word.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// Two colours that differ only in RGB read as "#E8F0FF"; anything else as written.
std::pair<QString, QString> ColourWords(const std::string& a, const std::string& b)
{
    if (IsColourWord(a) && IsColourWord(b) && a.compare(8, 2, b, 8, 2) == 0)
        return {QLatin1Char('#') + Latin1(a.substr(2, 6)).toUpper(), QLatin1Char('#') + Latin1(b.substr(2, 6)).toUpper()};
    return {Latin1(a), Latin1(b)};
}

void LineRows(const SkinDocument& a, const SkinDocument& b, std::vector<SkinDifference>& rows)
{
    std::vector<bool> elementA(a.Lines.Lines().size()), elementB(b.Lines.Lines().size());
    for (const SkinCategory category :
         {SkinCategory::Strings, SkinCategory::Pictures, SkinCategory::Objects, SkinCategory::Settings}) {
        for (const char* keyText : ElementKeys(category)) {
            const std::string key = keyText;
            const int indexA = a.Lines.FindKey(key), indexB = b.Lines.FindKey(key);
            if (indexA >= 0)
                elementA[static_cast<std::size_t>(indexA)] = true;
            if (indexB >= 0)
                elementB[static_cast<std::size_t>(indexB)] = true;
            const auto row = [&](const QString& text) {
                rows.push_back(Row(DifferenceKind::Line, Name(key) + QStringLiteral(": ") + text));
                rows.back().category = category;
                rows.back().key = key;
            };
            if (indexA < 0 && indexB < 0)
                continue;
            if (indexA < 0 || indexB < 0) {
                row(QStringLiteral("line only in %1").arg(Side(indexA >= 0)));
                continue;
            }
            const std::string& lineA = a.Lines.Line(indexA);
            const std::string& lineB = b.Lines.Line(indexB);
            if (lineA == lineB)
                continue;
            const std::vector<std::string> wordsA = ValueWords(lineA), wordsB = ValueWords(lineB);
            if (wordsA == wordsB) {
                row(QStringLiteral("same values, written differently"));
                continue;
            }
            const auto layout = LineLayout(category);
            for (std::size_t i = 0; i < std::max(wordsA.size(), wordsB.size()); ++i) {
                const std::string wordA = i < wordsA.size() ? wordsA[i] : std::string();
                const std::string wordB = i < wordsB.size() ? wordsB[i] : std::string();
                if (wordA == wordB)
                    continue;
                auto [was, now] = i < layout.size() && layout[i].kind == WordKind::Color ? ColourWords(wordA, wordB)
                                                                                         : std::pair(Latin1(wordA), Latin1(wordB));
                const QString none = QStringLiteral("none");
                row(FieldName(category, i) + QLatin1Char(' ') + (i < wordsA.size() ? was : none) + QStringLiteral(" \u2192 ")
                    + (i < wordsB.size() ? now : none));
            }
        }
    }
    // The other lines (comments, keys of no element, lines a later one of their key
    // hides) are told by their text, in either file's order, wherever they stand.
    std::map<std::string, int> others;
    for (std::size_t i = 0; i < elementA.size(); ++i)
        if (!elementA[i])
            ++others[a.Lines.Lines()[i]];
    for (std::size_t i = 0; i < elementB.size(); ++i)
        if (!elementB[i])
            --others[b.Lines.Lines()[i]];
    const auto tell = [&](const SkinDocument& side, const std::vector<bool>& element, bool inA) {
        for (std::size_t i = 0; i < element.size(); ++i) {
            const std::string& line = side.Lines.Lines()[i];
            int& left = others[line];
            if (element[i] || (inA ? left <= 0 : left >= 0))
                continue;
            left += inA ? -1 : 1;
            rows.push_back(Row(DifferenceKind::Line, QStringLiteral("Line only in %1: \"%2\"").arg(Side(inA), Latin1(line))));
        }
    };
    tell(a, elementA, true);
    tell(b, elementB, false);
}

QString PictureChange(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QStringLiteral("%1\u00d7%2 \u2192 %3\u00d7%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    const bool indexed = a.format() == QImage::Format_Indexed8 && b.format() == QImage::Format_Indexed8;
    bool sameIndices = indexed;
    for (int y = 0; sameIndices && y < a.height(); ++y)
        sameIndices = std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<std::size_t>(a.width())) == 0;
    if (sameIndices) {
        const QList<QRgb> tableA = a.colorTable(), tableB = b.colorTable();
        int entries = 0;
        for (qsizetype i = 0; i < std::max(tableA.size(), tableB.size()); ++i)
            entries += i >= tableA.size() || i >= tableB.size() || tableA[i] != tableB[i];
        return entries == 0 ? QString() : QStringLiteral("palette only (%1)").arg(Count(entries, "entry", "entries"));
    }
    // Every transparent pixel is the same, whatever its colour index.
    const QImage argbA = a.convertToFormat(QImage::Format_ARGB32), argbB = b.convertToFormat(QImage::Format_ARGB32);
    int pixels = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(argbA.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(argbB.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            pixels += rowA[x] != rowB[x] && (qAlpha(rowA[x]) != 0 || qAlpha(rowB[x]) != 0);
    }
    if (pixels == 0)
        return indexed ? QStringLiteral("same colours, other colour indices") : QString();
    return Count(pixels, "pixel changed", "pixels changed");
}

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

std::vector<SkinDifference> DocumentDifferences(const SkinDocument& a, const SkinDocument& b)
{
    std::vector<SkinDifference> rows;
    LineRows(a, b, rows);
    for (int number = 0; number < SkinPictureCount; ++number) {
        const QImage& pictureA = a.Pictures[static_cast<std::size_t>(number)];
        const QImage& pictureB = b.Pictures[static_cast<std::size_t>(number)];
        if (pictureA.cacheKey() == pictureB.cacheKey() || (pictureA.isNull() && pictureB.isNull()))
            continue;
        const QString change = pictureA.isNull() || pictureB.isNull()
            ? QStringLiteral("only in %1").arg(Side(!pictureA.isNull()))
            : PictureChange(pictureA, pictureB);
        if (!change.isEmpty()) {
            rows.push_back(Row(DifferenceKind::Picture, PictureFileName(number) + QStringLiteral(": ") + change));
            rows.back().picture = number;
        }
    }
    return rows;
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
            + Count(difference.changed, "pixel differs", "pixels differ");
        if (difference.added > 0 || difference.removed > 0)
            text += QStringLiteral(" (%1 added, %2 removed)").arg(difference.added).arg(difference.removed);
        comparison.rows.push_back(Row(DifferenceKind::Look, text));
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
            for (const auto& [colour, word] : {std::pair(ChangedMark, "changed"), std::pair(AddedMark, "added"),
                                               std::pair(RemovedMark, "removed")}) {
                painter.setPen(QColor(colour));
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
