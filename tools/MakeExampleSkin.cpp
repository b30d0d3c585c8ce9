// Draws the example skin "harbour": fifteen GIF pictures and its description file.
// Usage: make-example-skin OUTPUT_DIR
#include "GifWriter.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The key colour marks pixels that become transparent.
const QRgb kKey = qRgb(255, 0, 255);
const QRgb kNavy = qRgb(0x1A, 0x2A, 0x40);
const QRgb kDeep = qRgb(0x10, 0x1C, 0x2E);
const QRgb kTeal = qRgb(0x2E, 0x8B, 0x9A);
const QRgb kFoam = qRgb(0xE8, 0xF0, 0xFF);
const QRgb kGrey = qRgb(0x6A, 0x78, 0x8C);
const QRgb kAmber = qRgb(0xF2, 0xB1, 0x34);
// The editor shows every preview pixel of the bottom-left pixel's colour as white, so
// that corner gets a colour of its own that nothing else uses.
const QRgb kCorner = qRgb(0x01, 0x01, 0x01);

using Painting = std::function<void(QPainter&)>;

void Save(const QString& path, int width, int height, const std::vector<QRgb>& colors, const Painting& paint)
{
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(kKey);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        paint(p);
    }
    std::vector<QRgb> palette{kKey};
    palette.insert(palette.end(), colors.begin(), colors.end());
    std::size_t size = 2;
    while (size < palette.size())
        size *= 2;
    palette.resize(size, qRgb(0, 0, 0));

    GifSpec picture;
    picture.screenWidth = picture.width = width;
    picture.screenHeight = picture.height = height;
    picture.palette = palette;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb c = canvas.pixel(x, y);
            std::uint8_t index = 0;
            for (std::size_t i = 0; i < palette.size(); ++i) {
                if (palette[i] == c) {
                    index = static_cast<std::uint8_t>(i);
                    break;
                }
            }
            picture.pixels.push_back(index);
        }
    }
    const bool keyed = std::find(picture.pixels.begin(), picture.pixels.end(), 0) != picture.pixels.end();
    picture.transparentIndex = keyed ? 0 : -1;
    WriteGifFile(path, picture);
}

void Fill(QPainter& p, int x, int y, int w, int h, QRgb c)
{
    p.fillRect(x, y, w, h, QColor(c));
}

void Polygon(QPainter& p, std::initializer_list<QPoint> points, QRgb c)
{
    p.setBrush(QColor(c));
    p.drawPolygon(QPolygon(QList<QPoint>(points)));
}

// The five transport glyphs on a 24×22 button.
void Glyph(QPainter& p, int which, QRgb c)
{
    switch (which) {
    case 0: // backward
        Polygon(p, {{11, 5}, {11, 16}, {5, 10}}, c);
        Polygon(p, {{18, 5}, {18, 16}, {12, 10}}, c);
        break;
    case 1: // play
        Polygon(p, {{8, 5}, {8, 16}, {17, 10}}, c);
        break;
    case 2: // pause
        Fill(p, 7, 5, 4, 12, c);
        Fill(p, 14, 5, 4, 12, c);
        break;
    case 3: // stop
        Fill(p, 7, 6, 11, 10, c);
        break;
    case 4: // forward
        Polygon(p, {{6, 5}, {6, 16}, {12, 10}}, c);
        Polygon(p, {{13, 5}, {13, 16}, {19, 10}}, c);
        break;
    }
}

void Button(const QString& path, int which, bool enabled)
{
    if (enabled) {
        Save(path, 24, 22, {kTeal, kFoam, kDeep}, [&](QPainter& p) {
            p.setBrush(QColor(kTeal));
            p.drawRoundedRect(0, 0, 24, 22, 5, 5);
            Glyph(p, which, kFoam);
        });
    } else {
        Save(path, 24, 22, {kGrey}, [&](QPainter& p) { Glyph(p, which, kGrey); });
    }
}

void Arrow(QPainter& p, int x0, int y, int x1, QRgb c)
{
    Fill(p, std::min(x0, x1), y, std::abs(x1 - x0), 2, c);
    const int tip = x1 > x0 ? x1 : x1 - 1;
    const int dir = x1 > x0 ? -1 : 1;
    Polygon(p, {{tip, y + 1}, {tip + 3 * dir, y - 2}, {tip + 3 * dir, y + 4}}, c);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-example-skin OUTPUT_DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    auto file = [&](int n) { return out.filePath(QString::number(n) + ".gif"); };

    // 0: the soft bar along the bottom edge, a wave line on top.
    Save(file(0), 176, 22, {kDeep, kTeal, kCorner}, [](QPainter& p) {
        Fill(p, 0, 2, 176, 20, kDeep);
        Fill(p, 0, 21, 1, 1, kCorner);
        for (int x = 0; x < 176; ++x)
            Fill(p, x, (x / 8) % 2 == 0 ? 0 : 1, 1, 2, kTeal);
    });
    // 1: the title band under the status line.
    Save(file(1), 176, 22, {kDeep, kTeal, kAmber}, [](QPainter& p) {
        Fill(p, 0, 0, 176, 22, kDeep);
        Fill(p, 0, 20, 176, 2, kTeal);
        Fill(p, 84, 4, 8, 8, kAmber); // a small lighthouse lamp
        Fill(p, 86, 12, 4, 8, kAmber);
    });
    for (int which = 0; which < 5; ++which) {
        Button(file(2 + which), which, false);
        Button(file(7 + which), which, true);
    }
    // 12: random, two crossing arrows.
    Save(file(12), 16, 12, {kFoam}, [](QPainter& p) {
        Arrow(p, 1, 2, 14, kFoam);
        Arrow(p, 14, 8, 1, kFoam);
    });
    // 13: repeat one, a loop with a dot.
    Save(file(13), 16, 12, {kFoam, kAmber}, [](QPainter& p) {
        Fill(p, 2, 2, 12, 2, kFoam);
        Fill(p, 2, 8, 12, 2, kFoam);
        Fill(p, 2, 2, 2, 8, kFoam);
        Fill(p, 12, 2, 2, 8, kFoam);
        Fill(p, 7, 5, 2, 2, kAmber);
    });
    // 14: repeat all, a loop with a gap and an arrowhead.
    Save(file(14), 16, 12, {kFoam}, [](QPainter& p) {
        Fill(p, 2, 2, 8, 2, kFoam);
        Fill(p, 2, 8, 12, 2, kFoam);
        Fill(p, 2, 2, 2, 8, kFoam);
        Fill(p, 12, 5, 2, 5, kFoam);
        Polygon(p, {{10, 0}, {10, 5}, {14, 3}}, kFoam);
    });

    // Each section opens with a comment naming its values in order, so an author who
    // opens the file in a text editor can read it without the docs at hand
    // (docs/skin-format.md says everything).
    const char* description =
        "; Strings:  x  y  anchor  font  style  color  color2\r\n"
        ";   anchor = TOP 16 or BOTTOM 32, plus LEFT 4, HCENTER 1 or RIGHT 8\r\n"
        ";   style = 255 plain, 1 italic, 2 bold, 3 bold italic\r\n"
        "\r\n"
        "TrackNumber = 6 17 20 1 255 0xE8F0FF00 0x000000FF\r\n"
        "Playlist = 170 17 24 1 255 0xF2B13400 0x000000FF\r\n"
        "Artist = 88 44 17 2 2 0xE8F0FF00 0x000000FF\r\n"
        "Title = 88 60 17 1 255 0xE8F0FF00 0x000000FF\r\n"
        "Album = 88 76 17 1 1 0x9FB4D000 0x000000FF\r\n"
        "Time = 88 94 17 8 255 0xF2B13400 0x000000FF\r\n"
        "TimeCurrent = 12 122 20 1 255 0xE8F0FF00 0x000000FF\r\n"
        "TimeElapsed = 164 122 24 1 255 0xE8F0FF00 0x000000FF\r\n"
        "SoftLabel = 6 203 20 1 2 0xE8F0FF00 0x000000FF\r\n"
        "\r\n"
        "; Pictures:  x  y  (a_v|a_h) \r\n"
        ";   x and y place the picture's top-left corner; the third value is not read (the editor writes 20)\r\n"
        "\r\n"
        "TitlePicture = 0 14 20\r\n"
        "SoftPicture = 0 198 20\r\n"
        "Backward = 16 166 20\r\n"
        "Play = 46 166 20\r\n"
        "Pause = 76 166 20\r\n"
        "Stop = 106 166 20\r\n"
        "Forward = 136 166 20\r\n"
        "Random = 12 144 20\r\n"
        "RepetitionOne = 148 144 20\r\n"
        "RepetitionAll = 148 144 20\r\n"
        "\r\n"
        "; Objects:  x  y  w  h  color\r\n"
        ";   Background's w and h are its right and bottom edges\r\n"
        "\r\n"
        "Background = 0 0 176 220 0x1A2A4000\r\n"
        "ProgressBar = 12 112 152 6 0x2E8B9A00\r\n"
        "VolumeBar = 60 146 56 8 0xF2B13400\r\n"
        "\r\n"
        "; Setting: 1 - on, 0 - off\r\n"
        ";   StatusLine = 1 draws the phone's status line over the top of the screen\r\n"
        "\r\n"
        "StatusLine = 1\r\n";
    QFile rvk(out.filePath("Ruvex.rvk"));
    if (!rvk.open(QIODevice::WriteOnly) || rvk.write(description) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(rvk.fileName()));
        return 1;
    }
    return 0;
}
