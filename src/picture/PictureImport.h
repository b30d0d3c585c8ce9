#pragma once
// Pictures of every kind Qt reads, as they come in to be turned into GIFs.
#include <QByteArray>
#include <QImage>
#include <QString>

// Whether bytes are a GIF file (by its signature), which is taken as it is.
bool IsGifData(const QByteArray& bytes);

// Decodes bytes with Qt's readers. Throws SkinError with the reader's reason, or
// naming the size of a picture larger than a skin's pictures may be; the size is
// checked before the pixels are decoded where the format tells it.
QImage DecodePicture(const QByteArray& bytes);

// "Widthxheight": the size as messages name it.
QString SizeText(const QSize& size);

// The filter of the file dialog that picks a picture, in Qt's form: "Gif-Image"
// first, then one entry for all pictures Qt reads here, then one per kind.
QString PictureFileFilter();

// Whether a file's name says it is a picture that can be taken: a GIF or a kind Qt reads.
bool HasPictureSuffix(const QString& fileName);
