// make-test-gif [--one-colour] WIDTH HEIGHT OUT.gif: a WIDTH×HEIGHT picture of a
// sixteen-colour pattern filling the whole screen, for the hostile-file kit (pictures
// at and past the size limit) and for measuring the decoder on large pictures. With
// --one-colour every pixel has one colour, which LZW packs to a tiny file: 1024×1024
// in about 1.8 KB, the most picture per byte a skin can carry.
#include "GifWriter.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const bool oneColor = argc == 5 && std::strcmp(argv[1], "--one-colour") == 0;
    if (argc != 4 && !oneColor) {
        std::fprintf(stderr, "usage: make-test-gif [--one-colour] WIDTH HEIGHT OUT.gif\n");
        return 2;
    }
    char** args = oneColor ? argv + 1 : argv;
    const int width = std::atoi(args[1]);
    const int height = std::atoi(args[2]);
    if (width < 1 || height < 1 || width > 65535 || height > 65535) {
        std::fprintf(stderr, "make-test-gif: sides must be 1 to 65535\n");
        return 2;
    }
    GifSpec picture;
    picture.screenWidth = picture.width = width;
    picture.screenHeight = picture.height = height;
    picture.palette.clear();
    for (int i = 0; i < 16; ++i)
        picture.palette.push_back(qRgb(i * 16, 255 - i * 16, (i * 53) & 255));
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                oneColor ? 5 : static_cast<std::uint8_t>(((x / 8) ^ (y / 8)) & 15);
    WriteGifFile(QString::fromLocal8Bit(args[3]), picture);
    return 0;
}
