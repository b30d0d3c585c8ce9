#include "GifFile.h"

#include "FilePaths.h"
#include "GifDecoder.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QFile>

#include <sys/stat.h>

std::string PictureReadError(const QString& path, const std::string& reason)
{
    return "Cannot read picture \"" + DisplayPath(path) + "\". " + reason;
}

QImage LoadGifFile(const QString& path)
{
    return DecodeGifFile(ReadFileBytes(path, MaxPictureFileBytes), path);
}

QImage DecodeGifFile(const std::string& bytes, const QString& path)
{
    try {
        return DecodeGif(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } catch (const SkinError& e) {
        throw SkinError(PictureReadError(path, e.what()));
    }
}

PictureReading ReadSkinPicture(const QString& path)
{
    PictureReading reading;
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        reading.problem = "missing";
        return reading;
    }
    std::string bytes;
    try {
        bytes = ReadFileBytes(path, MaxPictureFileBytes);
    } catch (const SkinError& e) {
        reading.problem = e.what();
        reading.loadError = e.what();
        return reading;
    }
    try {
        reading.image = DecodeGif(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } catch (const SkinError& e) {
        reading.problem = std::string("cannot be decoded: ") + e.what();
        reading.loadError = PictureReadError(path, e.what());
    }
    return reading;
}
