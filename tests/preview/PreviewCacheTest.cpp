// The preview drawn from a cache is the preview drawn without one, byte for byte,
// whatever texts, faces, styles, anchors and pictures come and go, and drawn within a
// clip it is the same there; the cache keeps no more than its capacity. The states sheet, which draws its cells from one another, shows
// each as drawn alone.
#include "PreviewCache.h"
#include "PreviewRenderer.h"
#include "SampleTextSets.h"
#include "StatesSheet.h"

#include "TestSkin.h"

#include <gtest/gtest.h>

#include <QRegion>

#include <random>

namespace {

std::string RandomText(std::mt19937& random)
{
    std::string text(random() % 14, ' ');
    for (char& byte : text) {
        // Mostly printable, sometimes any byte a line can hold (tabs, controls, soft hyphens).
        int value = random() % 3 != 0 ? 32 + static_cast<int>(random() % 95) : 1 + static_cast<int>(random() % 255);
        if (value == '\r' || value == '\n')
            value = 0xAD;
        byte = static_cast<char>(value);
    }
    return text;
}

// A skin of ten texts with random ids, styles, anchors and places, over pictures.
TSkinModel RandomModel(std::mt19937& random)
{
    static constexpr int anchors[] = {20, 17, 24, 6, 3, 10, 36, 33, 40, 68, 65, 72, 0, 5};
    TSkinModel model;
    model.SkinObjects[BackgroundObject] = {0, 0, 176, 220, "0x20406000"};
    for (int i = 0; i < PictureCount; ++i)
        model.PicturePositions[static_cast<std::size_t>(i)] = {static_cast<std::int32_t>(random() % 170),
                                                              static_cast<std::int32_t>(random() % 210)};
    for (TSkiStr& item : model.TextItems) {
        item.X = static_cast<std::int32_t>(random() % 200) - 12;
        item.Y = static_cast<std::int32_t>(random() % 240) - 10;
        item.Anchor = anchors[random() % std::size(anchors)];
        item.FontId = static_cast<std::int32_t>(random() % 18) - 2;
        item.StyleCode = static_cast<std::int32_t>(random() % 4); // plain, italic, bold, both
        item.Color = random() % 2 ? "0xFFFF0000" : "0x00108000";
    }
    return model;
}

// A picture of one byte a pixel, as a GIF decodes: clear and opaque pixels in stripes,
// with a half-clear colour too when soft.
QImage BytePicture(int width, int height, QRgb color, bool soft = false)
{
    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorTable({qRgba(0, 0, 0, 0), color, soft ? qRgba(200, 40, 90, 128) : qRgb(200, 40, 90)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, static_cast<uint>((x + 2 * y) % 3));
    return picture;
}

// Pictures of both kinds, some reaching past the surface where they are placed.
PictureSlots SomePictures()
{
    PictureSlots pictures;
    for (int n = 0; n < SkinPictureCount; ++n) {
        QImage picture(5 + n, 4, QImage::Format_ARGB32);
        picture.fill(TestPictureColor(n));
        pictures[static_cast<std::size_t>(n)] = n % 2 != 0 ? BytePicture(5 + 2 * n, 3 + n, TestPictureColor(n), n == 7)
                                                          : picture;
    }
    return pictures;
}

TEST(PreviewCache, DrawsWhatTheUncachedDrawingDrawsWhateverCameBefore)
{
    std::mt19937 random(36);
    const PictureSlots pictures = SomePictures();
    // A few skins and text sets drawn in turns: the same text comes back in another
    // font or place, another text in the same font, so a stale entry would show.
    std::vector<TSkinModel> models;
    std::vector<TextLines> texts = {LongSampleTexts(), ShortSampleTexts(),
                                    {"Soft\xAD", "a\tb", "\x01\x7F\x9F", "\xAD", "\xE9t\xE9", "", "   ", "x\xADy\xAD",
                                     "fi ffl AV To", "-59:59"}};
    for (int i = 0; i < 5; ++i) {
        models.push_back(RandomModel(random));
        TextLines lines;
        for (int line = 0; line < SampleTextCount; ++line)
            lines.push_back(RandomText(random));
        texts.push_back(lines);
    }
    PreviewCache small(7); // far fewer entries than the texts met: entries come and go
    PreviewCache roomy;
    QImage surfaceSmall, surfaceRoomy, surfacePlain;
    for (int drawing = 0; drawing < 300; ++drawing) {
        TSkinModel model = models[random() % models.size()];
        if (drawing % 7 == 0)
            model.TextItems[random() % TextItemCount].StyleCode ^= 1; // italic toggled
        const TextLines& lines = texts[random() % texts.size()];
        const PreviewSettings settings{static_cast<int>(random() % 5), static_cast<int>(random() % 2), true, 4};
        std::vector<DrawnElement> drawnSmall, drawnRoomy, drawnPlain;
        DrawPreview(surfaceSmall, model, pictures, lines, settings, &drawnSmall, &small);
        DrawPreview(surfaceRoomy, model, pictures, lines, settings, &drawnRoomy, &roomy);
        DrawPreview(surfacePlain, model, pictures, lines, settings, &drawnPlain);
        ASSERT_EQ(surfaceSmall, surfacePlain) << "drawing " << drawing;
        ASSERT_EQ(surfaceRoomy, surfacePlain) << "drawing " << drawing;
        ASSERT_EQ(drawnSmall, drawnPlain) << "drawing " << drawing;
        ASSERT_EQ(drawnRoomy, drawnPlain) << "drawing " << drawing;
    }
    EXPECT_GT(roomy.Texts(), small.Capacity());
}

TEST(PreviewCache, ADrawingClippedToRectanglesThatOverlapIsTheWholeDrawingThereAndNothingElsewhere)
{
    std::mt19937 random(11);
    // Half-clear pixels in every picture: blended twice, they would show.
    PictureSlots pictures;
    for (int n = 0; n < SkinPictureCount; ++n)
        pictures[static_cast<std::size_t>(n)] = BytePicture(6 + 3 * n, 5 + 2 * n, TestPictureColor(n), true);
    pictures[StatusLineSlot] = BytePicture(ScreenWidth, 30, qRgb(9, 9, 9), true); // drawn over the texts
    PreviewCache cache;
    QImage before;
    DrawPreview(before, RandomModel(random), pictures, ShortSampleTexts(), PreviewSettings{}, nullptr, &cache);
    for (int drawing = 0; drawing < 120; ++drawing) {
        TSkinModel model = RandomModel(random);
        model.StatusLine = drawing % 3 != 0 ? 1 : 0;
        const TextLines& lines = drawing % 2 ? LongSampleTexts() : ShortSampleTexts();
        std::vector<QRect> clip;
        for (int i = static_cast<int>(random() % 5); i > 0; --i)
            clip.emplace_back(static_cast<int>(random() % 200) - 12, static_cast<int>(random() % 240) - 10,
                              static_cast<int>(random() % 90), static_cast<int>(random() % 90));
        // Both over the drawing before, as the session draws.
        QImage clipped = before, whole = before;
        std::vector<DrawnElement> listed, all;
        DrawPreview(clipped, model, pictures, lines, PreviewSettings{}, &listed, &cache, &clip);
        DrawPreview(whole, model, pictures, lines, PreviewSettings{}, &all, &cache);
        ASSERT_EQ(listed, all) << "drawing " << drawing;
        QRegion inside;
        for (const QRect& rect : clip)
            inside += rect;
        for (int y = 0; y < ScreenHeight; ++y)
            for (int x = 0; x < ScreenWidth; ++x)
                ASSERT_EQ(clipped.pixel(x, y), (inside.contains(QPoint(x, y)) ? whole : before).pixel(x, y))
                    << "drawing " << drawing << " at " << x << "," << y;
        before = whole;
    }
}

TEST(PreviewCache, KeepsNoMoreThanItsCapacity)
{
    // An hour of typing Custom texts: every drawing a new text in every item.
    PreviewCache cache;
    std::mt19937 random(1);
    const TSkinModel model = RandomModel(random);
    QImage surface;
    PictureSlots pictures;
    for (int drawing = 0; drawing < 200; ++drawing) {
        TextLines lines;
        for (int line = 0; line < SampleTextCount; ++line)
            lines.push_back("typed " + std::to_string(drawing) + "." + std::to_string(line));
        // And a picture replaced at each drawing, as one being painted elsewhere.
        pictures[static_cast<std::size_t>(drawing % SkinPictureCount)] = BytePicture(9, 9, qRgb(drawing, 0, 0));
        DrawPreview(surface, model, pictures, lines, PreviewSettings{}, nullptr, &cache);
        ASSERT_LE(cache.Texts(), PreviewCache::DefaultCapacity);
        ASSERT_LE(cache.Faces(), PreviewCache::DefaultCapacity);
        ASSERT_LE(cache.Pictures(), PreviewCache::PictureCapacity);
    }
    EXPECT_EQ(cache.Texts(), PreviewCache::DefaultCapacity);
    EXPECT_EQ(cache.Pictures(), PreviewCache::PictureCapacity);
    cache.Clear();
    EXPECT_EQ(cache.Texts(), 0u);
    EXPECT_EQ(cache.Faces(), 0u);
    EXPECT_EQ(cache.Pictures(), 0u);
}

TEST(PreviewCache, ASheetDrawnAgainIsTheSheetDrawnAfresh)
{
    std::mt19937 random(7);
    SkinDocument document;
    document.Pictures = SomePictures();
    PreviewCache cache;
    QImage sheet;
    for (int change = 0; change < 4; ++change) {
        document.Model = RandomModel(random);
        const TextLines& lines = change % 2 ? LongSampleTexts() : ShortSampleTexts();
        const PreviewSettings base{0, 0, change != 1, change};
        DrawStatesSheet(sheet, document, lines, base, cache);
        EXPECT_EQ(sheet, DrawStatesSheet(document, lines, base)) << "change " << change;
        // Each cell is the drawing of its state on a fresh surface, without a cache.
        const SheetLayout layout;
        for (int state = 0; state < 5; ++state) {
            for (int repetition = 0; repetition < 2; ++repetition) {
                PreviewSettings settings = base;
                settings.playState = state;
                settings.repetition = repetition;
                QImage alone = NewPreviewSurface();
                DrawPreview(alone, document.Model, document.Pictures, lines, settings);
                ASSERT_EQ(sheet.copy(layout.PreviewRect(state, repetition)), alone)
                    << "change " << change << ", state " << state << ", repetition " << repetition;
            }
        }
    }
}

} // namespace
