#pragma once
// A skin's GIF files as the loader and check read them: whole, within the size
// limit, then decoded.
#include <QImage>
#include <QString>

#include <string>

// Reads at most MaxPictureFileBytes. Throws "Cannot open file ..." when unreadable, "Cannot read picture "%s". reason"
// when the decoder rejects it.
QImage LoadGifFile(const QString& path);
// Decodes the bytes of the file at path, with LoadGifFile's error.
QImage DecodeGifFile(const std::string& bytes, const QString& path);
// "Cannot read picture "%s". reason".
std::string PictureReadError(const QString& path, const std::string& reason);

// A skin's picture file as the loader and check both read it.
struct PictureReading {
    QImage image;         // null when the file gave no picture
    std::string problem;  // check's words: "missing", the read error, or "cannot be decoded: reason"
    std::string loadError; // what LoadGifFile throws for a file that is there; empty for a missing one
};

// A SkinError of reading or decoding becomes the problem. Only a file that is not there at all is missing: a link that
// loops or leads nowhere is there, for check and the loader alike, and its reading says why it cannot be read.
PictureReading ReadSkinPicture(const QString& path);
