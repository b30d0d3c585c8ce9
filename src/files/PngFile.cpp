#include "PngFile.h"

#include "ReplacementFile.h"
#include "SkinError.h"

#include <QBuffer>

#include <cerrno>

void WritePng(const QImage& image, const QString& path)
{
    // Encoded in memory first: a short write of the file then fails with the
    // system's reason instead of leaving a truncated PNG.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw SkinError(CreateFileError(path, ENOMEM));
    // A PNG named through a link goes where the link points; a pipe or a device is refused.
    WriteFileReplacing(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())),
                       LinkPolicy::WriteThrough);
}
