#include "TestImages.h"

#include "OkLab.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <random>

QImage GradientWithAlphaEdge(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = x / double(width - 1);
            const double v = y / double(height - 1);
            const int alpha = std::min(255, x * 16);
            image.setPixel(x, y, qRgba(int(20 + 215 * u), int(40 + 180 * v), int(200 - 150 * u * v), alpha));
        }
    }
    return image;
}

QImage NoiseField(int width, int height)
{
    std::mt19937 random(37);
    std::normal_distribution<double> grain(0, 10);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double r = 128 + 90 * std::sin(x * 0.07) * std::cos(y * 0.05);
            const double g = 120 + 80 * std::sin((x + y) * 0.045 + 1.0);
            const double b = 110 + 90 * std::cos(x * 0.03 - y * 0.06);
            auto channel = [&](double c) { return std::clamp(int(std::lround(c + grain(random))), 0, 255); };
            image.setPixel(x, y, qRgb(channel(r), channel(g), channel(b)));
        }
    }
    return image;
}

QImage PixelArt(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(qRgb(24, 32, 56));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 200, 40));
    painter.drawEllipse(QRectF(20, 20, 60, 60));
    painter.setBrush(QColor(200, 60, 60));
    painter.drawEllipse(QRectF(96, 40, 50, 30));
    painter.setBrush(QColor(60, 180, 120));
    painter.drawRoundedRect(QRectF(30, 120, 110, 70), 12, 12);
    painter.end();
    return image;
}

double MeanDeltaE(const QImage& original, const QImage& converted)
{
    const QImage a = original.convertToFormat(QImage::Format_ARGB32);
    const QImage b = converted.convertToFormat(QImage::Format_ARGB32);
    const OkLabConverter lab;
    double sum = 0;
    long pixels = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            if (qAlpha(p) < 128)
                continue;
            sum += DeltaE(lab(p), lab(b.pixel(x, y)));
            ++pixels;
        }
    }
    return pixels > 0 ? sum / double(pixels) : 0;
}
