#include "SkinDocument.h"

QString PictureFileName(int number)
{
    return QString::number(number) + QStringLiteral(".gif");
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
