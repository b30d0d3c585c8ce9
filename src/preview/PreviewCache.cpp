#include "PreviewCache.h"

#include "PreviewFont.h"
#include "PreviewPainting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <functional>
#include <iterator>

namespace {

// One line of text as QPainter::drawText lays it out: its glyph runs, placed from
// the baseline's left end.
QList<QGlyphRun> ShapeLine(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    const qreal baseline = line.ascent();
    QList<QGlyphRun> runs = line.glyphRuns();
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& position : positions)
            position.ry() -= baseline;
        run.setPositions(positions);
    }
    return runs;
}

// Where text, drawn as the preview draws it with the face's metrics, paints: drawn on
// a white scratch a cell height wider than its cell on each side, at the cell's
// place within it. Nothing when a glyph reaches the scratch's edge, or when the
// scratch would be too large to paint for a text typed once.
std::optional<QRect> MeasureInk(const PreviewCache::ShapedText& shaped, const QString& text,
                                const PreviewCache::Face& face)
{
    constexpr qint64 LargestScratch = 1 << 20;
    const int margin = face.height;
    const QSize size(shaped.advance + 2 * margin, 3 * margin);
    if (margin <= 0 || size.width() <= 2 * margin || qint64{size.width()} * size.height() > LargestScratch)
        return std::nullopt;
    QImage scratch(size, QImage::Format_RGB32);
    constexpr QRgb white = 0xFFFFFFFF;
    scratch.fill(white);
    {
        QPainter painter(&scratch);
        PreparePainter(painter);
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setPen(Qt::black);
        painter.setFont(face.font);
        DrawTextLine(painter, &shaped, text, QPoint(margin, margin + face.ascent));
    }
    QRect ink;
    for (int y = 0; y < size.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        const QRgb* first = std::find_if(line, line + size.width(), [](QRgb pixel) { return pixel != white; });
        if (first == line + size.width())
            continue;
        const QRgb* last = std::find_if(std::make_reverse_iterator(line + size.width()), std::make_reverse_iterator(line),
                                        [](QRgb pixel) { return pixel != white; })
                               .base();
        ink |= QRect(static_cast<int>(first - line), y, static_cast<int>(last - first), 1);
    }
    if (ink.isEmpty())
        return QRect();
    if (ink.left() == 0 || ink.top() == 0 || ink.right() == size.width() - 1 || ink.bottom() == size.height() - 1)
        return std::nullopt;
    return ink.translated(-margin, -margin);
}

} // namespace

template <typename Key, typename Value, typename Hash>
Value* PreviewCache::Recent<Key, Value, Hash>::Find(const Key& key)
{
    const auto found = index_.find(key);
    if (found == index_.end())
        return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return &found->second->second;
}

template <typename Key, typename Value, typename Hash>
Value& PreviewCache::Recent<Key, Value, Hash>::Add(Key key, Value value, std::size_t capacity)
{
    while (order_.size() >= capacity) {
        index_.erase(order_.back().first);
        order_.pop_back();
    }
    order_.emplace_front(std::move(key), std::move(value));
    index_.emplace(order_.front().first, order_.begin());
    return order_.front().second;
}

template <typename Key, typename Value, typename Hash>
void PreviewCache::Recent<Key, Value, Hash>::Clear()
{
    index_.clear();
    order_.clear();
}

std::size_t PreviewCache::TextKeyHash::operator()(const TextKey& key) const noexcept
{
    return std::hash<std::string>()(key.bytes) ^ (std::hash<int>()(key.size) * 31) ^ (std::size_t{key.style} << 20);
}

std::size_t PreviewCache::FaceKeyHash::operator()(const std::pair<int, FontStyleSet>& key) const noexcept
{
    return std::hash<int>()(key.first) ^ (std::size_t{key.second} << 20);
}

PreviewCache::PreviewCache(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

const PreviewCache::Face& PreviewCache::FaceFor(int size, FontStyleSet style)
{
    const std::pair<int, FontStyleSet> key{size, style};
    if (Face* face = faces_.Find(key))
        return *face;
    Face face;
    face.font = PreviewFont(size, style);
    const QFontMetrics metrics(face.font);
    face.height = metrics.height();
    face.ascent = metrics.ascent();
    return faces_.Add(key, std::move(face), capacity_);
}

const PreviewCache::ShapedText& PreviewCache::Text(const std::string& bytes, int size, FontStyleSet style)
{
    TextKey key{bytes, size, style};
    if (ShapedText* text = texts_.Find(key))
        return *text;
    const Face face = FaceFor(size, style);
    const QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    ShapedText shaped;
    shaped.advance = QFontMetrics(face.font).horizontalAdvance(text);
    shaped.height = face.height;
    shaped.ascent = face.ascent;
    // A soft hyphen is shown at the end of a laid-out line but not by drawText.
    shaped.shaped = !text.contains(QChar(0xAD));
    if (shaped.shaped)
        shaped.runs = ShapeLine(text, face.font);
    shaped.ink = MeasureInk(shaped, text, face);
    return texts_.Add(std::move(key), std::move(shaped), capacity_);
}

std::size_t PreviewCache::PictureKeyHash::operator()(const PictureKey& key) const noexcept
{
    return std::hash<qint64>()(key.picture) ^ (std::hash<int>()(key.part.x()) << 1) ^ (std::hash<int>()(key.part.y()) << 7)
        ^ (std::hash<int>()(key.part.width()) << 13) ^ (std::hash<int>()(key.part.height()) << 19);
}

const QImage& PreviewCache::Picture(const QImage& picture, const QRect& part)
{
    PictureKey key{picture.cacheKey(), part};
    if (QImage* ready = pictures_.Find(key))
        return *ready;
    QImage ready;
    const QList<QRgb> colors = picture.colorTable();
    // Opaque and clear pixels blend the same from either format; others might round apart.
    if (picture.format() == QImage::Format_Indexed8
        && std::all_of(colors.begin(), colors.end(), [](QRgb color) { return qAlpha(color) == 0 || qAlpha(color) == 255; }))
        ready = picture.copy(part).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return pictures_.Add(std::move(key), std::move(ready), std::min(capacity_, PictureCapacity));
}

void PreviewCache::Clear()
{
    texts_.Clear();
    faces_.Clear();
    pictures_.Clear();
}
