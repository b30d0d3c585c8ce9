#pragma once
// Three pictures drawn here to measure the conversion to GIF against Qt's own, and
// the measure itself: a smooth gradient with an alpha edge, a photo-like noise
// field and flat pixel art with anti-aliased edges.
#include <QImage>

// Colours running over the whole picture; its left 16 columns fade to transparent.
QImage GradientWithAlphaEdge(int width = 176, int height = 220);
// Smooth blotches under fine grain, as a photo has them: thousands of colours.
QImage NoiseField(int width = 176, int height = 220);
// A few flat shapes drawn anti-aliased on a flat ground: fewer than 256 colours.
QImage PixelArt(int width = 176, int height = 220);

// The mean ΔE in OKLab between original and converted over the pixels of
// original whose alpha is 128 or more.
double MeanDeltaE(const QImage& original, const QImage& converted);
