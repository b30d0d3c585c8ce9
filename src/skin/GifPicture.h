#pragma once
// Decodes the first frame of a GIF into a picture of the logical screen's size.
// Pixels outside the frame and of the transparent colour have alpha 0, so drawing
// the picture leaves them untouched. GIF data is untrusted: sizes are checked
// before anything is allocated.
#include <QByteArray>
#include <QImage>
#include <QString>

inline constexpr int MaxGifSide = 4096;

// Throws SkinError with the decoder's reason.
QImage DecodeGif(const QByteArray& bytes);

// Throws "Cannot open file ..." when unreadable, "Cannot read picture "%s". reason"
// when the decoder rejects it.
QImage LoadGifFile(const QString& path);
