// conversion-quality: the mean colour error of the conversion to GIF on the three
// test pictures, against Qt's convertToFormat(Format_Indexed8) without (ThresholdDither) and with
// dithering (DiffuseDither, its default), as a table for docs/manual.md.
#include "GifConversion.h"
#include "TestImages.h"

#include <QGuiApplication>

#include <cstdio>
#include <functional>

int main(int argc, char** argv)
{
    const QGuiApplication app(argc, argv);
    struct Case {
        const char* name;
        QImage image;
    };
    const Case cases[] = {{"Gradient with alpha edge", GradientWithAlphaEdge()},
                          {"Photo-like noise field", NoiseField()},
                          {"Pixel art, anti-aliased edges", PixelArt()}};
    std::printf("| 176x220 picture | colours | Qt | Qt, dithered | ours | ours, dithered |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Case& c : cases) {
        ConversionOptions dithered;
        dithered.dither = true;
        const ConvertedGif ours = ConvertToGif(c.image);
        std::printf("| %s | %d | %.4f | %.4f | %.4f | %.4f |\n", c.name, ours.colorsBefore,
                    MeanDeltaE(c.image, c.image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither)),
                    MeanDeltaE(c.image, c.image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither)),
                    ours.meanError, ConvertToGif(c.image, dithered).meanError);
    }
    return 0;
}
