// make-assets: writes the project's own status-line overlay, "statusline.gif",
// into the folder given on the command line (assets/Files/ in the source tree).
// Run once by hand; its output is committed. Usage: make-assets OUT_DIR
//
// The picture is 176x14: signal bars on the left and a battery on the right, drawn
// in black with a one-pixel white halo so they read on light and dark skins, and
// the clock "12:00" in white on a small black plate in the middle. Every other
// pixel is transparent.
#include "GifWriter.h"

#include <QDir>
#include <QString>

#include <array>
#include <cstdio>
#include <exception>

namespace {

constexpr int Width = 176;
constexpr int Height = 14;

enum Ink : std::uint8_t { Clear = 0, Black = 1, White = 2, Green = 3 };

class Canvas {
public:
    Canvas() : pixels_(static_cast<std::size_t>(Width * Height), Clear) {}

    void Set(int x, int y, Ink ink)
    {
        if (x >= 0 && x < Width && y >= 0 && y < Height)
            pixels_[static_cast<std::size_t>(y * Width + x)] = ink;
    }
    Ink At(int x, int y) const
    {
        if (x < 0 || x >= Width || y < 0 || y >= Height)
            return Clear;
        return static_cast<Ink>(pixels_[static_cast<std::size_t>(y * Width + x)]);
    }
    void Fill(int left, int top, int right, int bottom, Ink ink) // right, bottom exclusive
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                Set(x, y, ink);
    }
    void Frame(int left, int top, int right, int bottom, Ink ink)
    {
        Fill(left, top, right, top + 1, ink);
        Fill(left, bottom - 1, right, bottom, ink);
        Fill(left, top, left + 1, bottom, ink);
        Fill(right - 1, top, right, bottom, ink);
    }
    // Every clear pixel next to (8 neighbours) a drawn one becomes white.
    void Halo()
    {
        const std::vector<std::uint8_t> before = pixels_;
        const auto drawn = [&](int x, int y) {
            return x >= 0 && x < Width && y >= 0 && y < Height
                && before[static_cast<std::size_t>(y * Width + x)] != Clear
                && before[static_cast<std::size_t>(y * Width + x)] != White;
        };
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                if (At(x, y) != Clear)
                    continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = drawn(x + dx, y + dy);
                if (near)
                    Set(x, y, White);
            }
    }
    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

private:
    std::vector<std::uint8_t> pixels_;
};

// 5x7 glyphs of the clock, '#' is ink.
using Glyph = std::array<const char*, 7>;
constexpr Glyph Digit0 = {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."};
constexpr Glyph Digit1 = {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."};
constexpr Glyph Digit2 = {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"};

int DrawGlyph(Canvas& canvas, const Glyph& glyph, int left, int top)
{
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 5; ++x)
            if (glyph[static_cast<std::size_t>(y)][x] == '#')
                canvas.Set(left + x, top + y, White);
    return left + 5 + 1;
}

GifSpec StatusLine()
{
    Canvas canvas;

    // Signal: four bars 2 px wide, 1 px apart, growing to the right, standing on y = 11.
    for (int bar = 0; bar < 4; ++bar) {
        const int left = 3 + bar * 3;
        const int height = 3 + bar * 2;
        canvas.Fill(left, 12 - height, left + 2, 12, Black);
    }

    // Battery: an outlined body with a cap on the right, three quarters charged.
    constexpr int bodyLeft = 150, bodyTop = 3, bodyRight = 168, bodyBottom = 11;
    canvas.Frame(bodyLeft, bodyTop, bodyRight, bodyBottom, Black);
    canvas.Fill(bodyRight, 5, bodyRight + 2, 9, Black);
    canvas.Fill(bodyLeft + 2, bodyTop + 2, bodyLeft + 2 + 10, bodyBottom - 2, Green);

    canvas.Halo();

    // Clock "12:00", centred: white digits and a one-pixel colon, one pixel apart, on
    // a black plate with cut corners.
    constexpr int clockWidth = 4 * 5 + 1 + 4 * 1;
    int x = (Width - clockWidth) / 2;
    constexpr int top = 3;
    canvas.Fill(x - 3, top - 2, x + clockWidth + 3, top + 7 + 2, Black);
    for (int cx : {x - 3, x + clockWidth + 2})
        for (int cy : {top - 2, top + 7 + 1})
            canvas.Set(cx, cy, Clear);
    x = DrawGlyph(canvas, Digit1, x, top);
    x = DrawGlyph(canvas, Digit2, x, top);
    canvas.Set(x, top + 2, White);
    canvas.Set(x, top + 4, White);
    x += 2;
    x = DrawGlyph(canvas, Digit0, x, top);
    DrawGlyph(canvas, Digit0, x, top);

    GifSpec picture;
    picture.screenWidth = Width;
    picture.screenHeight = Height;
    picture.width = Width;
    picture.height = Height;
    picture.palette = {qRgb(255, 0, 255), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 160, 0)};
    picture.pixels = canvas.Pixels();
    picture.transparentIndex = Clear;
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make-assets OUT_DIR\n");
        return 2;
    }
    try {
        const QDir out(QString::fromLocal8Bit(argv[1]));
        WriteGifFile(out.filePath(QStringLiteral("statusline.gif")), StatusLine());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
