#include "SkinDocument.h"

#include "GifPicture.h"
#include "SkinError.h"

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
    const std::string bytes = ReadFileBytes(path, MaxTextFileBytes);
    Lines.Assign(SplitTextLines(bytes));
    DescriptionCut = FindTextCut(bytes);
    const QDir folder = QFileInfo(path).absoluteDir();
    PictureFindings found;
    std::string failure; // the load stops at the first picture there that does not decode
    for (const PictureRole& role : PictureRoles) {
        const auto number = static_cast<std::size_t>(role.number);
        PictureReading reading = ReadSkinPicture(folder.filePath(PictureFileName(role.number)));
        found[number].problem = reading.problem;
        if (!reading.image.isNull())
            found[number].size = reading.image.size();
        if (!failure.empty())
            continue;
        if (!reading.image.isNull())
            Pictures[number] = std::move(reading.image);
        else
            failure = reading.loadError; // empty for a missing file: its slot is kept
    }
    PictureFound = found;
    if (!failure.empty())
        throw SkinError(failure);
    ParseSkin();
}

void SkinDocument::StoreItem(SkinCategory category, const std::string& key, const ItemValues& values)
{
    StoreItemLine(Lines, category, key, values);
    ParseSkin();
}
