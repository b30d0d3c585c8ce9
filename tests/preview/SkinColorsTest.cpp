// The skin's palette, recolouring with one mapping, and colour editions in OKLCh.
#include "GifDecoder.h"
#include "GifWriter.h"
#include "OkLab.h"
#include "SkinColors.h"
#include "TestSkin.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QByteArray Bytes(const std::string& s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string StdBytes(const QByteArray& b)
{
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Published OKLab values of sRGB colours (Ottosson's reference conversion).
TEST(OkLab, MatchesPublishedValuesAndComesBackExactly)
{
    struct Case {
        QRgb rgb;
        float L, a, b;
    };
    const Case cases[] = {{qRgb(255, 255, 255), 1.0f, 0, 0},
                          {qRgb(255, 0, 0), 0.62796f, 0.22486f, 0.12585f},
                          {qRgb(0, 255, 0), 0.86644f, -0.23389f, 0.17950f},
                          {qRgb(0, 0, 255), 0.45201f, -0.03246f, -0.31153f},
                          {qRgb(128, 128, 128), 0.59987f, 0, 0}};
    const OkLabConverter toLab;
    for (const Case& c : cases) {
        const OkLab lab = toLab(c.rgb);
        EXPECT_NEAR(lab.L, c.L, 1e-4) << std::hex << c.rgb;
        EXPECT_NEAR(lab.a, c.a, 1e-4) << std::hex << c.rgb;
        EXPECT_NEAR(lab.b, c.b, 1e-4) << std::hex << c.rgb;
    }
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 15) {
                const OkLch lch = ToOkLch(toLab(qRgb(r, g, b)));
                const LinearRgb linear = LinearOfOkLab(FromOkLch(lch));
                ASSERT_TRUE(InsideSrgb(linear)) << r << " " << g << " " << b;
                ASSERT_EQ(RgbOfLinear(linear), qRgb(r, g, b));
            }
        }
    }
}

// Two frames: the first drawn with the global table and a transparent index, the
// second with a local table, between comment and application extensions.
std::string TwoFrameGif()
{
    GifSpec first;
    first.screenWidth = first.width = 4;
    first.screenHeight = first.height = 3;
    first.palette = {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(9, 9, 9)};
    first.pixels = {0, 1, 2, 3, 0, 0, 1, 1, 3, 3, 2, 0};
    first.transparentIndex = 3;
    std::string gif = StdBytes(EncodeGif(first));
    EXPECT_EQ(gif.back(), '\x3B');
    gif.pop_back();
    // A comment, a GCE with transparent index 1, and a 1x1 image at (1, 1) with a
    // local table of two entries (red, blue) showing index 0.
    gif += std::string("\x21\xFE\x03" "abc" "\x00", 7);
    gif += std::string("\x21\xF9\x04\x01\x00\x00\x01\x00", 8);
    gif += std::string("\x2C\x01\x00\x01\x00\x01\x00\x01\x00\x80", 10);
    gif += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
    gif += std::string("\x02\x02\x44\x01\x00", 5);
    gif += std::string("\x21\xFF\x0B" "NETSCAPE2.0" "\x03\x01\x00\x00\x00", 19);
    gif += '\x3B';
    return gif;
}

// Every byte outside the colour tables (given as offset, length) is the same.
void ExpectSameOutsideTables(const std::string& before, const std::string& after,
                             const std::vector<std::pair<std::size_t, std::size_t>>& tables)
{
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        bool inTable = false;
        for (const auto& [offset, length] : tables)
            inTable = inTable || (i >= offset && i < offset + length);
        if (!inTable) {
            ASSERT_EQ(before[i], after[i]) << "byte " << i;
        }
    }
}

TEST(RecolorGif, RewritesOnlyTheTablesAtOnceAndKeepsTransparency)
{
    const std::string gif = TwoFrameGif();
    GifColors colors;
    const QImage original = DecodeGif(Bytes(gif), &colors);
    ASSERT_EQ(colors.transparent, 3);
    // Red becomes blue and blue becomes green: at once, so red does not end up green.
    // The transparent entry's colour is mapped too, and stays.
    const ColorMap map = {{qRgb(255, 0, 0), qRgb(0, 0, 255)},
                           {qRgb(0, 0, 255), qRgb(0, 255, 0)},
                           {qRgb(9, 9, 9), qRgb(1, 2, 3)}};
    const std::string recolored = RecolorGif(gif, map);
    const std::size_t local = gif.size() - 1 - 19 - 5 - 6;
    ExpectSameOutsideTables(gif, recolored, {{13, 12}, {local, 6}});
    EXPECT_EQ(recolored.substr(13, 12), std::string("\x00\x00\xFF\x00\xFF\x00\x00\xFF\x00\x09\x09\x09", 12));
    // The local table's transparent entry (index 1, blue) keeps its colour.
    EXPECT_EQ(recolored.substr(local, 6), std::string("\x00\x00\xFF\x00\x00\xFF", 6));

    GifColors after;
    const QImage decoded = DecodeGif(Bytes(recolored), &after);
    EXPECT_EQ(after.transparent, 3);
    EXPECT_EQ(decoded, RecolorImage(original, map));
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(decoded.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(decoded.pixel(3, 0)), 0);

    // A file cut short keeps its length and what it has of its tables.
    const std::string cut = gif.substr(0, 20);
    EXPECT_EQ(RecolorGif(cut, map), cut);
}

TEST(RecolorLines, ChangesOnlyTheColorDigits)
{
    SkinLines lines(SkinWith({"Artist = 1 2 17 2 2 0xff000080 0x11223344", "Title = 1 2 17 2 2 0xFF0000\t7F junk",
                              "Album = 1 2 17 2 2 0x00FF00FF 0xFF000000", "Background = 0 0 176 220 0x00ff00zz",
                              "VolumeBar = 1 2 3 4 0xFF00"}));
    const ColorMap map = {{qRgb(255, 0, 0), qRgb(0x40, 0x20, 0x1A)}, {qRgb(0, 255, 0), qRgb(255, 0, 0)}};
    std::map<std::string, std::string> changed;
    for (const RecoloredLine& line : RecolorLines(lines, map))
        changed[KeyName(line.key)] = line.text;
    // A TAB ends Title's word after eight characters, so it still holds a colour;
    // VolumeBar's is too short to hold one.
    ASSERT_EQ(changed.size(), 6u); // with the reference lines' Time and ProgressBar
    EXPECT_EQ(changed["Title"], "Title = 1 2 17 2 2 0x40201A\t7F junk");
    EXPECT_EQ(changed["Artist"], "Artist = 1 2 17 2 2 0x40201A80 0x11223344");
    EXPECT_EQ(changed["Album"], "Album = 1 2 17 2 2 0xFF0000FF 0xFF000000");
    EXPECT_EQ(changed["Background"], "Background = 0 0 176 220 0xFF0000zz");
    EXPECT_EQ(changed["Time"], "Time = 88 120 17 8 3 0x40201A00 0x000000FF");
    EXPECT_FALSE(changed.contains("VolumeBar"));
}

struct ExampleSkin {
    SkinLines lines;
    std::array<QImage, SkinPictureCount> pictures;
    std::array<std::string, SkinPictureCount> gifs;
};

std::string ReadAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return StdBytes(file.readAll());
}

ExampleSkin LoadExample()
{
    const QString dir = QStringLiteral(VELLUMARK_SOURCE_DIR "/examples/skins/harbour/");
    ExampleSkin skin;
    std::vector<std::string> lines;
    const std::string text = ReadAll(dir + "Ruvex.rvk");
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    skin.lines.Assign(lines);
    for (int n = 0; n < SkinPictureCount; ++n) {
        skin.gifs[n] = ReadAll(dir + QString::number(n) + ".gif");
        skin.pictures[n] = DecodeGif(Bytes(skin.gifs[n]));
    }
    return skin;
}

TEST(Palette, ListsEveryUseMostUsedFirst)
{
    const ExampleSkin skin = LoadExample();
    const std::vector<PaletteRow> palette = BuildPalette(skin.lines, skin.pictures);
    ASSERT_FALSE(palette.empty());
    for (std::size_t i = 1; i < palette.size(); ++i) {
        const auto places = [&](std::size_t k) { return palette[k].elements.size() + palette[k].pictures.size(); };
        EXPECT_GE(places(i - 1), places(i));
    }
    const auto orange = std::find_if(palette.begin(), palette.end(),
                                     [](const PaletteRow& row) { return row.color == qRgb(0xF2, 0xB1, 0x34); });
    ASSERT_NE(orange, palette.end());
    EXPECT_EQ(orange->Uses().substr(0, 25), "Playlist, Time, VolumeBar");

    PaletteRow row{qRgb(1, 2, 3), {"Artist", "Title"}, {{3, 412}, {8, 20}}};
    EXPECT_EQ(row.Uses(), "Artist, Title; 3.gif 412 px, 8.gif 20 px");
    EXPECT_EQ(ColorName(row.color), "#010203");
    EXPECT_EQ(ParseColorName("40201a"), qRgb(0x40, 0x20, 0x1A));
    EXPECT_EQ(ParseColorName("#40201"), std::nullopt);
}

// A whole skin recoloured: every GIF and line differs only where colours are.
void ExpectRecoloredSkin(const ExampleSkin& skin, const ColorMap& map)
{
    for (int n = 0; n < SkinPictureCount; ++n) {
        const std::string after = RecolorGif(skin.gifs[n], map);
        GifColors before, now;
        const QImage original = DecodeGif(Bytes(skin.gifs[n]), &before);
        const QImage decoded = DecodeGif(Bytes(after), &now);
        EXPECT_EQ(now.transparent, before.transparent) << n;
        EXPECT_EQ(decoded, RecolorImage(original, map)) << n;
        // Only table bytes (after the 13-byte header and screen, the global table here) change.
        ExpectSameOutsideTables(skin.gifs[n], after, {{13, 3 * before.table.size()}});
    }
    for (const auto& [index, key, text] : RecolorLines(skin.lines, map)) {
        const std::string& line = skin.lines.Line(index);
        ASSERT_EQ(text.size(), line.size());
        const std::size_t at = line.find(" 0x", line.find('=')) + 3;
        EXPECT_EQ(text.substr(0, at), line.substr(0, at));
        EXPECT_EQ(text.substr(at + 6), line.substr(at + 6));
    }
}

TEST(Edition, TurnsHuesBackWithinOneAndNamesWhatLostChroma)
{
    const ExampleSkin skin = LoadExample();
    const std::vector<PaletteRow> palette = BuildPalette(skin.lines, skin.pictures);
    const EditionResult there = EditionOf(palette, {120});
    ExpectRecoloredSkin(skin, there.map);
    EXPECT_NE(std::find(there.clamped.begin(), there.clamped.end(), qRgb(0xF2, 0xB1, 0x34)), there.clamped.end());
    int back = 0;
    for (const PaletteRow& row : palette) {
        if (std::find(there.clamped.begin(), there.clamped.end(), row.color) != there.clamped.end())
            continue;
        const QRgb turned = there.map.contains(row.color) ? there.map.at(row.color) : row.color;
        bool clamped = false;
        const QRgb returned = EditColor(turned, {-120}, &clamped);
        EXPECT_FALSE(clamped) << ColorName(row.color);
        EXPECT_LE(std::abs(qRed(returned) - qRed(row.color)), 1) << ColorName(row.color);
        EXPECT_LE(std::abs(qGreen(returned) - qGreen(row.color)), 1) << ColorName(row.color);
        EXPECT_LE(std::abs(qBlue(returned) - qBlue(row.color)), 1) << ColorName(row.color);
        ++back;
    }
    EXPECT_GT(back, 3);

    ExpectRecoloredSkin(skin, EditionOf(palette, {0, 0.5f, 0.6f}).map);

    // A grey has no hue: it stays unless neutrals are asked for.
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    EXPECT_EQ(EditColor(grey, {90, 2, 0.5f}), grey);
    EXPECT_EQ(EditColor(qRgb(255, 255, 255), {90, 2, 0.5f}), qRgb(255, 255, 255));
    const QRgb darker = EditColor(grey, {90, 2, 0.5f, true});
    EXPECT_LT(qRed(darker), 0x80);
    EXPECT_LE(std::abs(qRed(darker) - qBlue(darker)), 1);
}

} // namespace
