#include "PictureImport.h"

#include "GifDecoder.h"
#include "SkinError.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStringList>

bool IsGifData(const QByteArray& bytes)
{
    return bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a");
}

QString SizeText(const QSize& size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

namespace {

[[noreturn]] void TooLarge(const QSize& size)
{
    throw SkinError("The picture is " + SizeText(size).toStdString() + " pixels, larger than "
                    + SizeText(QSize(MaxGifSide, MaxGifSide)).toStdString());
}

bool Fits(const QSize& size)
{
    return size.width() <= MaxGifSide && size.height() <= MaxGifSide;
}

} // namespace

QImage DecodePicture(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize announced = reader.size();
    if (announced.isValid() && !Fits(announced))
        TooLarge(announced);
    QImage image;
    if (!reader.read(&image))
        throw SkinError(reader.errorString().toStdString());
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw SkinError("The picture has no size");
    if (!Fits(image.size()))
        TooLarge(image.size());
    return image;
}

QString PictureFileFilter()
{
    QStringList all{QStringLiteral("*.gif")};
    QStringList kinds;
    const QMimeDatabase mimes;
    for (const QByteArray& name : QImageReader::supportedMimeTypes()) {
        const QMimeType type = mimes.mimeTypeForName(QString::fromLatin1(name));
        if (!type.isValid() || type.inherits(QStringLiteral("image/gif")) || type.globPatterns().isEmpty())
            continue;
        QString caption = type.comment();
        caption.remove(QLatin1Char('(')).remove(QLatin1Char(')')); // a parenthesis would end the name
        kinds << caption + QStringLiteral(" (") + type.globPatterns().join(QLatin1Char(' ')) + QLatin1Char(')');
        all << type.globPatterns();
    }
    all.removeDuplicates();
    kinds.sort(Qt::CaseInsensitive);
    QStringList filter{QStringLiteral("Gif-Image (*.gif)"),
                       QStringLiteral("All pictures (") + all.join(QLatin1Char(' ')) + QLatin1Char(')')};
    return (filter + kinds).join(QStringLiteral(";;"));
}

bool HasPictureSuffix(const QString& fileName)
{
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    return suffix == "gif" || (!suffix.isEmpty() && QImageReader::supportedImageFormats().contains(suffix));
}
