// Pixel tests of DrawPreview and of the elements it lists.
#include "PreviewRenderer.h"
#include "GifDecoder.h"
#include "PreviewFont.h"

#include "GifWriter.h"
#include "SkinNumbers.h"
#include "TestSkin.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <set>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBackground = qRgb(0x20, 0x40, 0x60);
const char* const kBackgroundHex = "0x20406000";
const QRgb kBar = qRgb(0xFF, 0x80, 0x00);
const char* const kBarHex = "0xFF8000FF";
const QRgb kText = qRgb(0x00, 0xFF, 0x00);
const char* const kTextHex = "0x00FF0000";

QRgb At(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

QImage Solid(int width, int height, QRgb color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// A model whose only visible element is the full-surface Background; texts have
// no sample lines unless a test gives some, so they draw nothing.
TSkinModel PlainModel()
{
    TSkinModel model;
    model.SkinObjects[BackgroundObject] = {0, 0, 176, 220, kBackgroundHex};
    for (auto& item : model.TextItems) {
        item.Anchor = 20;
        item.FontId = 1;
        item.Color = kTextHex;
    }
    return model;
}

// Every picture slot a solid 4×3 picture in TestPictureColor(n); the overlay red.
PictureSlots ColoredPictures()
{
    PictureSlots pictures;
    for (int n = 0; n < SkinPictureCount; ++n)
        pictures[static_cast<std::size_t>(n)] = Solid(4, 3, TestPictureColor(n));
    pictures[StatusLineSlot] = Solid(176, 14, qRgb(255, 0, 0));
    return pictures;
}

// The ten picture positions spread out so that no two pictures overlap.
void SpreadPictures(TSkinModel& model)
{
    for (int i = 0; i < PictureCount; ++i)
        model.PicturePositions[static_cast<std::size_t>(i)] = {10 + 15 * (i % 5), 20 + 10 * (i / 5)};
}

QImage Draw(const TSkinModel& model, const PictureSlots& pictures = {}, const TextLines& lang = {},
            const PreviewSettings& settings = {}, QImage surface = NewPreviewSurface())
{
    DrawPreview(surface, model, pictures, lang, settings);
    return surface;
}

// Counts the pixels of colour inside the rectangle (l, t, r, b), right and bottom exclusive.
int CountColor(const QImage& image, QRgb color, int l = 0, int t = 0, int r = ScreenWidth, int b = ScreenHeight)
{
    int count = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            count += At(image, x, y) == color;
    return count;
}

// Draws a skin whose one text is item, as TrackNumber showing text, over kBackground;
// box receives where the drawing listed it (empty when it was not listed).
QImage DrawItem(const TSkiStr& item, const std::string& text, QRect* box = nullptr)
{
    TSkinModel model = PlainModel();
    model.TextItems[TrackNumberItem] = item;
    QImage surface = NewPreviewSurface();
    std::vector<DrawnElement> drawn;
    DrawPreview(surface, model, PictureSlots{}, TextLines{text}, PreviewSettings{}, &drawn);
    if (box != nullptr) {
        *box = QRect();
        for (const DrawnElement& element : drawn)
            if (element.key == TextItemKeys[TrackNumberItem])
                *box = element.bounds;
    }
    return surface;
}

// The style code that draws style.
std::int32_t StyleCodeOf(FontStyleSet style)
{
    for (const TextStyle& entry : TextStyles)
        if (entry.style == style)
            return entry.code;
    return 0;
}

TSkiStr TextItem(int x, int y, int anchor, FontStyleSet style = 0)
{
    TSkiStr item;
    item.X = x;
    item.Y = y;
    item.Anchor = anchor;
    item.FontId = 2;
    item.StyleCode = StyleCodeOf(style);
    item.Color = kTextHex;
    return item;
}

// The metrics of an item's font as measured on a preview surface.
QFontMetrics ItemMetrics(const TSkiStr& item)
{
    const QImage surface = NewPreviewSurface();
    return QFontMetrics(PreviewFont(FontSizeOfId(item.FontId), item.FontStyle()), &surface);
}

// ---- Surface ------------------------------------------------------------------

TEST(PreviewSurface, StartsWhite176By220Rgb32)
{
    const QImage surface = NewPreviewSurface();
    EXPECT_EQ(surface.size(), QSize(176, 220));
    EXPECT_EQ(surface.format(), QImage::Format_RGB32);
    EXPECT_EQ(CountColor(surface, kWhite), 176 * 220);
}

TEST(PreviewSurface, ANullSurfaceIsCreatedOnTheFirstDrawing)
{
    QImage surface;
    DrawPreview(surface, TSkinModel{}, PictureSlots{}, TextLines{}, PreviewSettings{});
    EXPECT_EQ(surface.size(), QSize(176, 220));
    EXPECT_EQ(surface.format(), QImage::Format_RGB32);
    // An empty model paints nothing: the surface stays white.
    EXPECT_EQ(CountColor(surface, kWhite), 176 * 220);
}

TEST(PreviewSurface, RedrawsAreDeterministic)
{
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    model.StatusLine = 1;
    const TextLines lang = {"07/12", "Evening Set", "Mira", "Title", "Album", "03:47", "01:52", "-01:55", "Menu", "Back"};
    EXPECT_EQ(Draw(model, ColoredPictures(), lang), Draw(model, ColoredPictures(), lang));
}

// ---- Background -----------------------------------------------------------------

TEST(PreviewBackground, FullSizeRepaintsTheWholeSurface)
{
    EXPECT_EQ(CountColor(Draw(PlainModel()), kBackground), 176 * 220);
}

TEST(PreviewBackground, WAndHAreTheRightAndBottomEdges)
{
    TSkinModel first = PlainModel();
    first.SkinObjects[BackgroundObject].Color = "0xFF000000";
    const QImage previous = Draw(first);

    TSkinModel model = PlainModel();
    model.SkinObjects[BackgroundObject] = {10, 10, 100, 100, kBackgroundHex};
    const QImage image = Draw(model, {}, {}, {}, previous);
    for (int y = 0; y < 220; ++y)
        for (int x = 0; x < 176; ++x) {
            const bool inside = x >= 10 && x < 100 && y >= 10 && y < 100;
            ASSERT_EQ(At(image, x, y), inside ? kBackground : qRgb(255, 0, 0)) << x << "," << y;
        }
    EXPECT_EQ(CountColor(image, kBackground), 90 * 90);
}

TEST(PreviewBackground, RightNotRightOfLeftOrBottomNotBelowTopPaintsNothing)
{
    for (const TSkiObject& background : {TSkiObject{100, 0, 50, 220, kBackgroundHex},
                                        TSkiObject{0, 100, 176, 100, kBackgroundHex},
                                        TSkiObject{20, 20, 20, 200, kBackgroundHex},
                                        TSkiObject{0, 220, 176, 0, kBackgroundHex}}) {
        TSkinModel model = PlainModel();
        model.SkinObjects[BackgroundObject] = background;
        EXPECT_EQ(CountColor(Draw(model), kWhite), 176 * 220);
    }
}

TEST(PreviewBackground, ExtremeValuesDoNotOverflow)
{
    TSkinModel model = PlainModel();
    model.SkinObjects[BackgroundObject] = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kBackgroundHex};
    model.SkinObjects[ProgressBarObject] = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, kBarHex};
    model.SkinObjects[VolumeBarObject] = {INT32_MIN, 5, INT32_MAX, 3, kBarHex};
    PreviewSettings settings;
    settings.volumeShown = true;
    settings.volumeLevel = 9;
    const QImage image = Draw(model, {}, {}, settings);
    EXPECT_EQ(At(image, 0, 0), kBackground);
    EXPECT_EQ(At(image, 175, 219), kBackground);
}

TEST(PreviewBackground, MalformedColorIsBlack)
{
    TSkinModel model = PlainModel();
    model.SkinObjects[BackgroundObject].Color = "nonsense";
    EXPECT_EQ(CountColor(Draw(model), kBlack), 176 * 220);
}

// ---- Pictures ----------------------------------------------------------------------

TEST(PreviewPictures, EachPlayStateEnablesExactlyItsButton)
{
    for (int state = -1; state <= 5; ++state) {
        TSkinModel model = PlainModel();
        SpreadPictures(model);
        PreviewSettings settings;
        settings.playState = state;
        const QImage image = Draw(model, ColoredPictures(), {}, settings);
        for (int button = 0; button < 5; ++button) {
            const TPicturePos& pos = model.PicturePositions[static_cast<std::size_t>(BackwardPos + button)];
            const int expected = state == button ? 7 + button : 2 + button;
            EXPECT_EQ(At(image, pos.X, pos.Y), TestPictureColor(expected)) << "state " << state << " button " << button;
            EXPECT_EQ(At(image, pos.X + 3, pos.Y + 2), TestPictureColor(expected));
            EXPECT_EQ(At(image, pos.X + 4, pos.Y), kBackground);
        }
    }
}

TEST(PreviewPictures, PauseShowsPauseEnabledAndTheOtherDisabledPictures)
{
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    PreviewSettings settings;
    settings.playState = 2;
    const QImage image = Draw(model, ColoredPictures(), {}, settings);
    const auto& p = model.PicturePositions;
    EXPECT_EQ(At(image, p[PausePos].X, p[PausePos].Y), TestPictureColor(9));
    EXPECT_EQ(At(image, p[BackwardPos].X, p[BackwardPos].Y), TestPictureColor(2));
    EXPECT_EQ(At(image, p[PlayPos].X, p[PlayPos].Y), TestPictureColor(3));
    EXPECT_EQ(At(image, p[StopPos].X, p[StopPos].Y), TestPictureColor(5));
    EXPECT_EQ(At(image, p[ForwardPos].X, p[ForwardPos].Y), TestPictureColor(6));
}

TEST(PreviewPictures, TitleSoftAndRandomAreAlwaysDrawnAtTheirPositions)
{
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    const QImage image = Draw(model, ColoredPictures());
    const auto& p = model.PicturePositions;
    EXPECT_EQ(At(image, p[TitlePicturePos].X, p[TitlePicturePos].Y), TestPictureColor(1));
    EXPECT_EQ(At(image, p[SoftPicturePos].X, p[SoftPicturePos].Y), TestPictureColor(0));
    EXPECT_EQ(At(image, p[RandomPos].X + 3, p[RandomPos].Y + 2), TestPictureColor(12));
}

TEST(PreviewPictures, ExactlyOneRepetitionIconIsDrawn)
{
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    const auto& p = model.PicturePositions;
    for (int repetition : {0, 1, 2, -1}) {
        PreviewSettings settings;
        settings.repetition = repetition;
        const QImage image = Draw(model, ColoredPictures(), {}, settings);
        const bool one = repetition == 0;
        EXPECT_EQ(At(image, p[RepetitionOnePos].X, p[RepetitionOnePos].Y), one ? TestPictureColor(13) : kBackground);
        EXPECT_EQ(At(image, p[RepetitionAllPos].X, p[RepetitionAllPos].Y), one ? kBackground : TestPictureColor(14));
    }
}

TEST(PreviewPictures, AreDrawnInTheirDrawingOrder)
{
    // All pictures at (0, 50), each later one a pixel narrower: column k shows the
    // picture drawn k-th (counting from 0) when the order is right.
    const std::vector<int> order = {1, 0, 2, 8, 4, 5, 6, 12, 13}; // play state Play, repetition One
    TSkinModel model = PlainModel();
    for (auto& pos : model.PicturePositions)
        pos = {0, 50};
    PictureSlots pictures;
    for (int n = 0; n < SkinPictureCount; ++n)
        pictures[static_cast<std::size_t>(n)] = Solid(1, 1, TestPictureColor(n));
    for (std::size_t k = 0; k < order.size(); ++k)
        pictures[static_cast<std::size_t>(order[k])] = Solid(static_cast<int>(order.size() - k), 1, TestPictureColor(order[k]));
    // The enabled/disabled pictures not drawn get a wide picture that must not show.
    for (int n : {7, 3, 9, 10, 11, 14})
        pictures[static_cast<std::size_t>(n)] = Solid(20, 1, qRgb(255, 0, 255));
    const QImage image = Draw(model, pictures);
    for (std::size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(At(image, static_cast<int>(order.size() - 1 - k), 50), TestPictureColor(order[k])) << "k " << k;
    EXPECT_EQ(CountColor(image, qRgb(255, 0, 255)), 0);
}

TEST(PreviewPictures, AnEmptySlotLeavesThePixelsBeneath)
{
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    PictureSlots pictures = ColoredPictures();
    pictures[8] = QImage();
    const QImage image = Draw(model, pictures);
    const auto& p = model.PicturePositions[PlayPos];
    EXPECT_EQ(At(image, p.X, p.Y), kBackground);
}

TEST(PreviewPictures, TransparentPixelsAndPixelsOutsideTheFrameAreUntouched)
{
    // A 6×4 screen with a 3×2 frame at (2, 1): red, clear, red / clear, red, clear.
    GifSpec picture;
    picture.screenWidth = 6;
    picture.screenHeight = 4;
    picture.left = 2;
    picture.top = 1;
    picture.width = 3;
    picture.height = 2;
    picture.palette = {qRgb(255, 0, 0), qRgb(1, 2, 3)};
    picture.pixels = {0, 1, 0, 1, 0, 1};
    picture.transparentIndex = 1;
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    model.PicturePositions[TitlePicturePos] = {40, 100};
    PictureSlots pictures;
    pictures[1] = DecodeGif(EncodeGif(picture));
    const QImage image = Draw(model, pictures);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const int fx = x - 2, fy = y - 1;
            const bool inFrame = fx >= 0 && fx < 3 && fy >= 0 && fy < 2;
            const bool opaque = inFrame && picture.pixels[static_cast<std::size_t>(fy * 3 + fx)] == 0;
            EXPECT_EQ(At(image, 40 + x, 100 + y), opaque ? qRgb(255, 0, 0) : kBackground) << x << "," << y;
        }
    EXPECT_EQ(CountColor(image, qRgb(255, 0, 0)), 3);
}

TEST(PreviewPictures, AFrameWithoutTransparencyReplacesItsWholeRectangle)
{
    TSkinModel model = PlainModel();
    model.PicturePositions[TitlePicturePos] = {-2, -1};
    PictureSlots pictures;
    pictures[1] = DecodeGif(EncodeGif(SolidGif(5, 4, qRgb(9, 9, 9))));
    const QImage image = Draw(model, pictures);
    // Partly off the surface: the visible 3×3 part is painted.
    EXPECT_EQ(CountColor(image, qRgb(9, 9, 9)), 3 * 3);
    EXPECT_EQ(At(image, 2, 2), qRgb(9, 9, 9));
    EXPECT_EQ(At(image, 3, 0), kBackground);
}

TEST(PreviewPictures, FarAwayPositionsDrawNothingAndDoNotFail)
{
    TSkinModel model = PlainModel();
    for (auto& pos : model.PicturePositions)
        pos = {INT32_MAX, INT32_MIN};
    EXPECT_EQ(CountColor(Draw(model, ColoredPictures()), kBackground), 176 * 220);
}

TEST(PreviewStatusLine, OverlayOnlyForOneAtTheOriginOverEverything)
{
    TSkinModel model = PlainModel();
    model.PicturePositions.fill({0, 0}); // every picture under the overlay
    model.SkinObjects[ProgressBarObject] = {0, 0, 100, 10, kBarHex};
    model.TextItems[TrackNumberItem] = TextItem(0, 0, 20);
    const TextLines lang = {"WWWW"};
    PictureSlots pictures = ColoredPictures();
    for (int value : {0, 1, 2, -1}) {
        model.StatusLine = value;
        const QImage image = Draw(model, pictures, lang);
        if (value == 1) {
            EXPECT_EQ(CountColor(image, qRgb(255, 0, 0), 0, 0, 176, 14), 176 * 14);
            EXPECT_EQ(CountColor(image, qRgb(255, 0, 0)), 176 * 14);
        } else {
            EXPECT_EQ(CountColor(image, qRgb(255, 0, 0)), 0) << value;
            EXPECT_GT(CountColor(image, kText), 0);
        }
    }
}

TEST(PreviewStatusLine, TransparentOverlayPixelsShowTheSkin)
{
    TSkinModel model = PlainModel();
    model.StatusLine = 1;
    PictureSlots pictures;
    GifSpec picture = SolidGif(176, 14, qRgb(0, 0, 0));
    picture.palette = {qRgb(0, 0, 0), qRgb(7, 7, 7)};
    picture.transparentIndex = 0;
    picture.pixels[5] = 1;
    pictures[StatusLineSlot] = DecodeGif(EncodeGif(picture));
    const QImage image = Draw(model, pictures);
    EXPECT_EQ(At(image, 5, 0), qRgb(7, 7, 7));
    EXPECT_EQ(CountColor(image, kBackground), 176 * 220 - 1);
}

// ---- Bars --------------------------------------------------------------------------

TEST(PreviewBars, ProgressBarIsHalfFilledAndFramed)
{
    TSkinModel model = PlainModel();
    model.SkinObjects[BackgroundObject].H = 100; // the bar area is white unless the bar paints it
    model.SkinObjects[ProgressBarObject] = {10, 200, 41, 6, kBarHex};
    const QImage image = Draw(model);
    for (int y = 195; y < 210; ++y)
        for (int x = 5; x < 60; ++x) {
            QRgb expected = kWhite;
            if (x >= 10 && x < 51 && y >= 200 && y < 206) {
                if (x == 10 || x == 50 || y == 200 || y == 205)
                    expected = kBlack;
                else
                    expected = x < 30 ? kBar : kBackground;
            }
            ASSERT_EQ(At(image, x, y), expected) << x << "," << y;
        }
}

// The volume bar (60, 170, 50, 5) at a level, over a white area.
QImage VolumeImage(bool shown, int level)
{
    TSkinModel model = PlainModel();
    model.SkinObjects[BackgroundObject].H = 100;
    model.SkinObjects[VolumeBarObject] = {60, 170, 50, 5, kBarHex};
    PreviewSettings settings;
    settings.volumeShown = shown;
    settings.volumeLevel = level;
    return Draw(model, {}, {}, settings);
}

TEST(PreviewBars, VolumeLevelsFillTheirPixels)
{
    // Levels are not clamped; extreme ones must neither wrap nor fail (a fill of
    // 1 << 30 stands for "past the bar's right edge").
    const std::vector<std::pair<int, int>> levels = {{0, 1},         {2, 15},         {7, 50},
                                                     {9, 64},        {8, 57},         {-1, -6},
                                                     {INT32_MIN, -1}, {INT32_MAX, 1 << 30},
                                                     {INT32_MAX / 7 + 1, 1 << 30}};
    for (const auto& [level, filled] : levels) {
        const QImage image = VolumeImage(true, level);
        for (int y = 165; y < 180; ++y)
            for (int x = 55; x < 130; ++x) {
                QRgb expected = kWhite;
                const bool inBar = x >= 60 && x < 110 && y >= 170 && y < 175;
                if (y >= 170 && y < 175 && x >= 60 && x < 60 + filled)
                    expected = kBar;
                else if (inBar)
                    expected = kBackground;
                if (inBar && (x == 60 || x == 109 || y == 170 || y == 174))
                    expected = kBlack;
                ASSERT_EQ(At(image, x, y), expected) << "level " << level << " at " << x << "," << y;
            }
    }
}

TEST(PreviewBars, HiddenVolumeBarPaintsNothing)
{
    const QImage image = VolumeImage(false, 7);
    EXPECT_EQ(CountColor(image, kWhite, 0, 100, 176, 220), 176 * 120);
}

TEST(PreviewBars, FramesOfOnePixelBarsEmptyBarsAndBarsPartlyOffTheSurface)
{
    const auto draw = [](const TSkiObject& bar) {
        TSkinModel model = PlainModel();
        model.SkinObjects[ProgressBarObject] = bar;
        return Draw(model);
    };
    // A 1×1 bar is one black pixel: the four sides of its frame coincide.
    EXPECT_EQ(CountColor(draw({5, 5, 1, 1, kBarHex}), kBlack), 1);
    // No width or no height: nothing at all.
    EXPECT_EQ(CountColor(draw({5, 5, 0, 4, kBarHex}), kBackground), 176 * 220);
    EXPECT_EQ(CountColor(draw({5, 5, 4, -4, kBarHex}), kBackground), 176 * 220);
    // Left and top edges far outside stay outside: only the right column and the
    // bottom row show.
    const QImage image = draw({-1000, -1000, 1010, 1010, kBarHex});
    EXPECT_EQ(CountColor(image, kBlack), 10 + 10 - 1);
    EXPECT_EQ(At(image, 9, 0), kBlack);
    EXPECT_EQ(At(image, 0, 9), kBlack);
    EXPECT_EQ(At(image, 0, 0), kBackground);
    EXPECT_EQ(CountColor(image, kBar), 0);
}

TEST(PreviewBars, NegativeWidthsPaintNothing)
{
    TSkinModel model = PlainModel();
    model.SkinObjects[BackgroundObject].H = 100;
    model.SkinObjects[ProgressBarObject] = {100, 150, -40, 6, kBarHex};
    EXPECT_EQ(CountColor(Draw(model), kWhite, 0, 100, 176, 220), 176 * 120);
}

// ---- Fonts -------------------------------------------------------------------------

TEST(PreviewFonts, DefaultFaceIsDejaVuSansAtElevenPixelsWithoutAntialiasing)
{
    const QString family = PreviewFontFamily();
    ASSERT_FALSE(family.isEmpty());
    const QFont font = PreviewFont(0, 0);
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(info.pixelSize(), 11);
    EXPECT_EQ(font.pixelSize(), PreviewFontPixelSize);
    EXPECT_TRUE(font.styleStrategy() & QFont::NoAntialias);
    EXPECT_FALSE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_GT(QFontMetrics(font).height(), 8);
}

TEST(PreviewFonts, StyleSetsBoldAndItalic)
{
    EXPECT_TRUE(PreviewFont(0, FontBold).bold());
    EXPECT_FALSE(PreviewFont(0, FontBold).italic());
    EXPECT_TRUE(PreviewFont(0, FontItalic).italic());
    EXPECT_TRUE(PreviewFont(0, FontBold | FontItalic).bold());
    EXPECT_TRUE(PreviewFont(0, FontBold | FontItalic).italic());
    EXPECT_TRUE(QFontInfo(PreviewFont(0, FontBold)).bold());
    EXPECT_TRUE(QFontInfo(PreviewFont(0, FontItalic)).italic());
}

TEST(PreviewFonts, IdsWithoutAnEntryDrawLikeTableIds)
{
    TSkiStr item = TextItem(20, 40, 20);
    const QImage table = DrawItem(item, "Artist");
    for (int id : {0, 11, 99, -3}) {
        item.FontId = id;
        EXPECT_EQ(DrawItem(item, "Artist"), table) << id;
    }
}

// ---- Texts -------------------------------------------------------------------------

TEST(PreviewTexts, TheTwelveAnchorsPlaceTheMeasuredCellAroundXY)
{
    // Where the cell lies along one axis: after, centred on (truncating) or before the point.
    enum class Side { After, Centred, Before };
    const auto before = [](Side side, int extent) {
        return side == Side::After ? 0 : side == Side::Centred ? extent / 2 : extent;
    };
    const std::vector<std::tuple<int, Side, Side>> anchors = {
        {20, Side::After, Side::After},  {17, Side::Centred, Side::After},  {24, Side::Before, Side::After},
        {6, Side::After, Side::Centred}, {3, Side::Centred, Side::Centred}, {10, Side::Before, Side::Centred},
        {36, Side::After, Side::Before}, {33, Side::Centred, Side::Before}, {40, Side::Before, Side::Before},
        {68, Side::After, Side::After},  {65, Side::Centred, Side::After},  {72, Side::Before, Side::After},
    };
    const std::string text = "Evening Set";
    for (FontStyleSet style : {FontStyleSet{0}, FontStyleSet{FontBold}}) {
        // The cell is the text as measured in the item's own font.
        const QFontMetrics metrics = ItemMetrics(TextItem(0, 0, 20, style));
        const int w = metrics.horizontalAdvance(QString::fromStdString(text));
        const int h = metrics.height();
        if (style == 0) { // odd both ways, so that centring has something to truncate
            ASSERT_TRUE(w % 2 == 1 && h % 2 == 1) << w << "x" << h;
        }
        for (const auto& [anchor, horizontal, vertical] : anchors) {
            QRect box;
            const QImage anchored = DrawItem(TextItem(100, 50, anchor, style), text, &box);
            EXPECT_EQ(box, QRect(100 - before(horizontal, w), 50 - before(vertical, h), w, h)) << anchor;
            // Anchoring moves the cell and nothing else.
            EXPECT_EQ(anchored, DrawItem(TextItem(box.left(), box.top(), 20, style), text)) << anchor;
            EXPECT_GT(CountColor(anchored, kText), 0);
        }
    }
}

TEST(PreviewTexts, AnchorOutsideTheTwelvePlacesTheTopLeftAtXY)
{
    const QImage topLeft = DrawItem(TextItem(100, 50, 20), "Evening Set");
    for (int anchor : {0, 1, 2, 4, 7, 8, 16, 32, 64, 5, 12, 18, 48, 99, -20, INT32_MAX}) {
        QRect box;
        EXPECT_EQ(DrawItem(TextItem(100, 50, anchor), "Evening Set", &box), topLeft) << anchor;
        EXPECT_EQ(box.topLeft(), QPoint(100, 50)) << anchor;
    }
}

TEST(PreviewTexts, TextsPaintGlyphsOnlyInTheirColorWithinTheirCell)
{
    QRect box;
    const QImage image = DrawItem(TextItem(50, 60, 20), "Artist", &box);
    ASSERT_EQ(box.topLeft(), QPoint(50, 60));
    const int w = box.width();
    const int h = box.height();
    const int inked = CountColor(image, kText);
    EXPECT_GT(inked, 20);
    // No antialiasing: every pixel is the background or the text colour.
    EXPECT_EQ(inked + CountColor(image, kBackground), 176 * 220);
    // The glyphs lie in the cell whose top-left is (50, 60), and reach its top half.
    EXPECT_EQ(CountColor(image, kText, 50, 60, 50 + w, 60 + h), inked);
    EXPECT_GT(CountColor(image, kText, 50, 60, 50 + w, 60 + h / 2), 0);
}

TEST(PreviewTexts, StylesChangeTheGlyphs)
{
    const QImage plain = DrawItem(TextItem(20, 20, 20), "Mira Vantell");
    const QImage bold = DrawItem(TextItem(20, 20, 20, FontBold), "Mira Vantell");
    const QImage italic = DrawItem(TextItem(20, 20, 20, FontItalic), "Mira Vantell");
    EXPECT_NE(plain, bold);
    EXPECT_NE(plain, italic);
    EXPECT_GT(CountColor(bold, kText), CountColor(plain, kText));
}

TEST(PreviewTexts, ItemsDrawTheirOwnSampleLine)
{
    TSkinModel model = PlainModel();
    model.TextItems[ArtistItem] = TextItem(30, 70, 20);
    const TextLines lang = {"", "", "Mira", "", "", "", "", "", "", ""};
    const QImage expected = DrawItem(TextItem(30, 70, 20), "Mira");
    EXPECT_EQ(Draw(model, {}, lang), expected);
}

TEST(PreviewTexts, TextColorComesFromHexToColor)
{
    TSkinModel model = PlainModel();
    model.TextItems[TitleItem] = TextItem(30, 70, 20);
    model.TextItems[TitleItem].Color = "0x0000FF00";
    const QImage image = Draw(model, {}, {"", "", "", "WWW"});
    EXPECT_GT(CountColor(image, qRgb(0, 0, 255)), 10);
    EXPECT_EQ(CountColor(image, qRgb(0, 0, 255)) + CountColor(image, kBackground), 176 * 220);
}

TEST(PreviewTexts, RightSoftLabelIsMirroredFromSoftLabel)
{
    TSkinModel model = PlainModel();
    // Anchor 40 is ignored for the right label: its top is at Y.
    model.TextItems[SoftLabelItem] = TextItem(2, 200, 40);
    model.TextItems[SoftLabelItem].StyleCode = StyleCodeOf(FontBold);
    const TextLines lang = {"", "", "", "", "", "", "", "", "", "Back"};
    const QImage image = Draw(model, {}, lang);
    const TSkiStr item = TextItem(2, 200, 20, FontBold);
    const int w = ItemMetrics(item).horizontalAdvance(QStringLiteral("Back"));
    const QImage expected = DrawItem(TextItem(176 - 2 - w, 200, 20, FontBold), "Back");
    EXPECT_EQ(image, expected);
    EXPECT_GT(CountColor(image, kText), 0);
    // Its right edge ends X pixels before the surface's right edge.
    EXPECT_EQ(CountColor(image, kText, 174, 0, 176, 220), 0);
}

TEST(PreviewTexts, SoftLabelAndRightLabelTogether)
{
    TSkinModel model = PlainModel();
    model.TextItems[SoftLabelItem] = TextItem(2, 205, 20);
    const TextLines lang = {"", "", "", "", "", "", "", "", "Menu", "Back"};
    const QImage image = Draw(model, {}, lang);
    EXPECT_GT(CountColor(image, kText, 0, 200, 88, 220), 0);
    EXPECT_GT(CountColor(image, kText, 88, 200, 176, 220), 0);
}

TEST(PreviewTexts, FewerThanTenSampleLinesAreNoError)
{
    TSkinModel model = PlainModel();
    model.StatusLine = 1;
    for (std::size_t i = 0; i < model.TextItems.size(); ++i)
        model.TextItems[i] = TextItem(5, 20 + 20 * static_cast<int>(i), 20);
    PictureSlots pictures;
    pictures[StatusLineSlot] = Solid(176, 14, qRgb(255, 0, 0));
    for (std::size_t count = 0; count <= 10; ++count) {
        TextLines lang;
        for (std::size_t i = 0; i < count; ++i)
            lang.push_back("Line" + std::to_string(i));
        QImage image;
        ASSERT_NO_THROW(image = Draw(model, pictures, lang));
        // The overlay after the texts is still drawn.
        EXPECT_EQ(CountColor(image, qRgb(255, 0, 0)), 176 * 14);
        // Line i is drawn exactly when it exists.
        for (std::size_t i = 1; i < model.TextItems.size(); ++i) {
            const int top = 20 + 20 * static_cast<int>(i);
            EXPECT_EQ(CountColor(image, kText, 0, top, 176, top + 14) > 0, i < count) << count << " " << i;
        }
    }
}

TEST(PreviewTexts, SampleLinesAreLatin1)
{
    const TSkiStr item = TextItem(20, 40, 20);
    const QFontMetrics metrics = ItemMetrics(item);
    const QString latin1 = QString::fromLatin1("\xE9t\xE9");
    ASSERT_NE(metrics.horizontalAdvance(latin1), metrics.horizontalAdvance(QString::fromUtf8("\xE9t\xE9")));
    QRect box;
    const QImage image = DrawItem(item, "\xE9t\xE9", &box);
    EXPECT_EQ(box.width(), metrics.horizontalAdvance(latin1));
    EXPECT_NE(image, DrawItem(item, "ete")); // the accents are drawn
}

TEST(PreviewTexts, TextsFarOutsideTheSurfaceDrawNothing)
{
    TSkinModel model = PlainModel();
    model.TextItems[TrackNumberItem] = TextItem(INT32_MAX, INT32_MAX, 40);
    model.TextItems[PlaylistItem] = TextItem(INT32_MIN, 10, 24);
    model.TextItems[ArtistItem] = TextItem(INT32_MIN, INT32_MIN, 40);
    model.TextItems[SoftLabelItem] = TextItem(INT32_MIN, 10, 20);
    const TextLines lang = {"a", "b", "e", "", "", "", "", "", "c", "d"};
    QImage surface = NewPreviewSurface();
    std::vector<DrawnElement> drawn;
    DrawPreview(surface, model, PictureSlots{}, lang, PreviewSettings{}, &drawn);
    EXPECT_EQ(CountColor(surface, kBackground), 176 * 220);
    // Anchoring left of or above the smallest X and Y saturates there instead of
    // wrapping round to the far right or bottom.
    int saturated = 0;
    for (const DrawnElement& element : drawn) {
        if (element.key == TextItemKeys[PlaylistItem])
            saturated += element.bounds.left() == -(1 << 24);
        if (element.key == TextItemKeys[ArtistItem])
            saturated += element.bounds.topLeft() == QPoint(-(1 << 24), -(1 << 24));
    }
    EXPECT_EQ(saturated, 2);
}

TEST(PreviewTexts, TextsAreDrawnOverBarsAndPictures)
{
    TSkinModel model = PlainModel();
    model.PicturePositions.fill({0, 100});
    model.SkinObjects[ProgressBarObject] = {0, 100, 176, 30, kBarHex};
    model.TextItems[TrackNumberItem] = TextItem(2, 105, 20);
    PictureSlots pictures;
    pictures[1] = Solid(176, 30, qRgb(9, 9, 9));
    const QImage image = Draw(model, pictures, {"WWWW"});
    EXPECT_GT(CountColor(image, kText, 0, 100, 176, 130), 0);
    EXPECT_EQ(CountColor(image, qRgb(9, 9, 9)), 0); // the bar covers the picture
}

} // namespace

// ---- Where each element was drawn ------------------------------------------------

TEST(PreviewDrawnElements, ListsWhatTheDrawingPaintedInDrawOrderWhereItPaintedIt)
{
    TSkinModel model = PlainModel();
    SpreadPictures(model);
    model.SkinObjects[ProgressBarObject] = {10, 160, 156, 6, kBarHex};
    model.SkinObjects[VolumeBarObject] = {60, 170, 50, 5, kBarHex};
    model.TextItems[ArtistItem] = TextItem(100, 100, 40); // RIGHT, BOTTOM
    model.TextItems[SoftLabelItem] = TextItem(3, 200, 20);
    model.TextItems[AlbumItem].X = 1 << 30; // far off the surface: listed where it is
    const TextLines lang = {"1", "", "Artist", "Title", "Album", "Time", "Now", "Left", "Menu", "Back"};
    const PictureSlots pictures = ColoredPictures();

    const auto draw = [&](const PreviewSettings& settings) {
        QImage surface = NewPreviewSurface();
        std::vector<DrawnElement> drawn;
        DrawPreview(surface, model, pictures, lang, settings, &drawn);
        EXPECT_EQ(surface, Draw(model, pictures, lang, settings)); // listing changes no pixel
        return drawn;
    };
    const auto keys = [](const std::vector<DrawnElement>& drawn) {
        std::string all;
        for (const auto& element : drawn)
            all += element.key + (element.mirrored ? "(mirrored)" : "") + ",";
        return all;
    };

    PreviewSettings settings;
    settings.repetition = 0;
    settings.volumeShown = false;
    std::vector<DrawnElement> drawn = draw(settings);
    // No VolumeBar, no RepetitionAll, no Playlist (its sample text is empty).
    EXPECT_EQ(keys(drawn), "Background,TitlePicture,SoftPicture,Backward,Play,Pause,Stop,Forward,Random,RepetitionOne,"
                           "ProgressBar,TrackNumber,Artist,Title ,Album,Time ,TimeCurrent,TimeElapsed,SoftLabel,"
                           "SoftLabel(mirrored),");
    const auto find = [&](const std::string& key, bool mirrored = false) {
        for (const auto& element : drawn)
            if (element.key == key && element.mirrored == mirrored)
                return element;
        ADD_FAILURE() << key;
        return DrawnElement{};
    };
    EXPECT_EQ(find("Background").bounds, QRect(0, 0, 176, 220));
    EXPECT_EQ(find("Play").bounds, QRect(model.PicturePositions[PlayPos].X, model.PicturePositions[PlayPos].Y, 4, 3));
    EXPECT_EQ(find("Play").category, SkinCategory::Pictures);
    EXPECT_EQ(find("ProgressBar").bounds, QRect(10, 160, 156, 6));

    // A text's box is its cell after anchoring, and holds every pixel of its glyphs.
    const QFontMetrics metrics = ItemMetrics(model.TextItems[ArtistItem]);
    const QRect artist = find("Artist").bounds;
    EXPECT_EQ(artist, QRect(100 - metrics.horizontalAdvance("Artist"), 100 - metrics.height(),
                            metrics.horizontalAdvance("Artist"), metrics.height()));
    EXPECT_EQ(find("Artist").category, SkinCategory::Strings);
    EXPECT_EQ(find("Album").bounds.left(), 1 << 24);
    TSkinModel artistOnly = PlainModel();
    artistOnly.TextItems[ArtistItem] = model.TextItems[ArtistItem];
    const QImage alone = Draw(artistOnly, {}, TextLines{"", "", "Artist"});
    EXPECT_GT(CountColor(alone, kText), 0);
    EXPECT_EQ(CountColor(alone, kText), CountColor(alone, kText, artist.left(), artist.top(), artist.right() + 1,
                                                     artist.bottom() + 1));

    // The right soft label mirrors SoftLabel: its right edge X pixels from the right.
    const QRect right = find("SoftLabel", true).bounds;
    EXPECT_EQ(right.right() + 1, ScreenWidth - 3);
    EXPECT_EQ(right.top(), 200);
    EXPECT_EQ(right.width(), ItemMetrics(model.TextItems[SoftLabelItem]).horizontalAdvance("Back"));

    settings.repetition = 1;
    settings.volumeShown = true;
    drawn = draw(settings);
    EXPECT_NE(keys(drawn).find("Random,RepetitionAll,ProgressBar,VolumeBar,TrackNumber"), std::string::npos)
        << keys(drawn);
    EXPECT_EQ(find("VolumeBar").bounds, QRect(60, 170, 50, 5));
}
