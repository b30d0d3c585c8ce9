#include "SkinDocument.h"

#include "GifPicture.h"

#include <QDir>
#include <QFileInfo>

QString PictureFileName(int number)
{
    return QString::number(number) + QStringLiteral(".gif");
}

void SkinDocument::ParseSkin()
{
    ParseSkinInto(Lines, Model);
    SkinLoaded = true;
}

void SkinDocument::LoadSkin(const QString& path)
{
    Lines.Assign(ReadTextLines(path));
    const QDir folder = QFileInfo(path).absoluteDir();
    for (const PictureRole& role : PictureRoles) {
        const QString picture = folder.filePath(PictureFileName(role.number));
        if (QFileInfo::exists(picture))
            Pictures[static_cast<std::size_t>(role.number)] = LoadGifFile(picture);
    }
    ParseSkin();
}

void SkinDocument::StoreItem(SkinCategory category, const std::string& key, const ItemValues& values)
{
    StoreItemLine(Lines, category, key, values);
    ParseSkin();
}
