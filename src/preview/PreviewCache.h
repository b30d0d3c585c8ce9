#pragma once
// What one drawing of the preview leaves for the next: each face's metrics and each
// text shaped in its face (glyphs, their places, its advance, the pixels it paints),
// so that a redraw of texts that did not change lays nothing out again. Whoever draws owns one (the
// session, a command, a window), and it forgets the least recently used entries
// beyond its capacity. Needs a QGuiApplication.
#include "SkinModel.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRect>
#include <QList>

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

class PreviewCache {
public:
    static constexpr std::size_t DefaultCapacity = 256;

    // A face at a font size and style, with the metrics the preview places texts by.
    struct Face {
        QFont font;
        int height = 0;
        int ascent = 0;
    };

    // A text shaped in a face. The runs' glyph positions are relative to the
    // baseline's left end. Empty runs for a text whose layout differs from one line
    // of QPainter::drawText (a soft hyphen): that text is drawn by drawText.
    struct ShapedText {
        QList<QGlyphRun> runs;
        int advance = 0;
        int height = 0; // the face's
        int ascent = 0;
        bool shaped = false;
        // The pixels its glyphs paint, from the top-left corner of its cell (the
        // baseline the face's ascent below it); empty when they paint none. Nothing
        // where they may reach more than a cell height past the cell.
        std::optional<QRect> ink;
    };

    // capacity (at least 1) bounds the faces and the texts alike.
    explicit PreviewCache(std::size_t capacity = DefaultCapacity);

    // The preview's face at size with style (PreviewFont).
    const Face& FaceFor(int size, FontStyleSet style);
    // bytes (8-bit text, read as Latin-1) shaped in the face at size with style.
    const ShapedText& Text(const std::string& bytes, int size, FontStyleSet style);

    // The part of picture within part, ready to draw: a picture of one byte a pixel
    // converted to premultiplied colours once instead of at each drawing. A null image
    // where it is drawn as it is (another format, or colours neither opaque nor clear,
    // whose blending the conversion could change).
    const QImage& Picture(const QImage& picture, const QRect& part);

    void Clear();
    // Entries held (faces, texts, pictures); never more than Capacity() of each, and
    // never more than PictureCapacity pictures.
    static constexpr std::size_t PictureCapacity = 64;
    std::size_t Faces() const { return faces_.Size(); }
    std::size_t Texts() const { return texts_.Size(); }
    std::size_t Pictures() const { return pictures_.Size(); }
    std::size_t Capacity() const { return capacity_; }

private:
    struct TextKey {
        std::string bytes;
        int size = 0;
        FontStyleSet style = 0;
        bool operator==(const TextKey&) const = default;
    };
    struct TextKeyHash {
        std::size_t operator()(const TextKey& key) const noexcept;
    };
    struct PictureKey {
        qint64 picture = 0; // QImage::cacheKey: another for every change of its pixels
        QRect part;
        bool operator==(const PictureKey&) const = default;
    };
    struct PictureKeyHash {
        std::size_t operator()(const PictureKey& key) const noexcept;
    };
    struct FaceKeyHash {
        std::size_t operator()(const std::pair<int, FontStyleSet>& key) const noexcept;
    };

    // Values by key, the most recently used first; the last is dropped past capacity.
    template <typename Key, typename Value, typename Hash>
    class Recent {
    public:
        Value* Find(const Key& key);
        Value& Add(Key key, Value value, std::size_t capacity);
        std::size_t Size() const { return order_.size(); }
        void Clear();

    private:
        using Order = std::list<std::pair<Key, Value>>;
        Order order_;
        std::unordered_map<Key, typename Order::iterator, Hash> index_;
    };

    std::size_t capacity_;
    Recent<std::pair<int, FontStyleSet>, Face, FaceKeyHash> faces_;
    Recent<TextKey, ShapedText, TextKeyHash> texts_;
    Recent<PictureKey, QImage, PictureKeyHash> pictures_;
};
