#pragma once
// Decodes the first frame of a GIF into a picture of the logical screen's size.
// Pixels outside the frame and of the transparent colour have alpha 0, so drawing
// the picture leaves them untouched. GIF data is untrusted: sizes are checked
// before anything is allocated.
#include <QByteArray>
#include <QImage>

// The largest picture, on each side. Pictures are drawn on a 176x220 screen; this
// bounds a whole skin at about 60 MB of decoded pictures.
inline constexpr int MaxGifSide = 1024;

#include <vector>

// The colour table of a GIF's first frame, in the file's order, and the index its
// Graphic Control Extension makes transparent (-1: none).
struct GifColors {
    std::vector<QRgb> table;
    int transparent = -1;
};

// Throws SkinError with the decoder's reason. With colours, also fills in the
// first frame's colour table and transparent index.
QImage DecodeGif(const QByteArray& bytes, GifColors* colors = nullptr);
