#include "SkinDocument.h"

QString PictureFileName(int number)
{
    return QString::number(number) + QStringLiteral(".gif");
}

QStringList SkinFileNames()
{
    QStringList names{QString::fromLatin1(DescriptionFileName)};
    for (int number = 0; number < SkinPictureCount; ++number)
        names << PictureFileName(number);
    return names;
}

bool IsSkinFileName(const QString& name)
{
    return SkinFileNames().contains(name);
}

void SkinDocument::ParseSkin()
{
    ParseSkinInto(Lines, Model);
    SkinLoaded = true;
}

void SkinDocument::StoreItem(SkinCategory category, const std::string& key, const ItemValues& values)
{
    StoreItemLine(Lines, category, key, values);
    ParseSkin();
}
