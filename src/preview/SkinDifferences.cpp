#include "SkinComparison.h"

#include "ExWord.h"
#include "SkinNumbers.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

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

// Two colours that differ only in RGB read as "#E8F0FF"; anything else as written.
std::pair<QString, QString> ColorWords(const std::string& a, const std::string& b)
{
    if (IsColorWord(a) && IsColorWord(b) && a.compare(8, 2, b, 8, 2) == 0)
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
                rows.push_back(DifferenceRow(DifferenceKind::Line, Name(key) + QStringLiteral(": ") + text));
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
                auto [was, now] = i < layout.size() && layout[i].kind == WordKind::Color ? ColorWords(wordA, wordB)
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
            rows.push_back(DifferenceRow(DifferenceKind::Line, QStringLiteral("Line only in %1: \"%2\"").arg(Side(inA), Latin1(line))));
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
        return entries == 0 ? QString() : QStringLiteral("palette only (%1)").arg(CountOf(entries, "entry", "entries"));
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
    return CountOf(pixels, "pixel changed", "pixels changed");
}

} // namespace

SkinDifference DifferenceRow(DifferenceKind kind, const QString& text)
{
    SkinDifference row;
    row.kind = kind;
    row.text = text;
    return row;
}

QString CountOf(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
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
            rows.push_back(DifferenceRow(DifferenceKind::Picture, PictureFileName(number) + QStringLiteral(": ") + change));
            rows.back().picture = number;
        }
    }
    return rows;
}
