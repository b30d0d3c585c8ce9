#include "SaveFolder.h"

#include "FilePaths.h"
#include "SkinDocument.h"
#include "SkinError.h"
#include "SkinFormat.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

SaveAsTarget SaveAsTargetOf(const QString& chosen)
{
    const QFileInfo info(chosen);
    const bool description = info.fileName().compare(QLatin1String(DescriptionFileName), Qt::CaseInsensitive) == 0;
    if (info.isDir() || (!info.exists() && !info.isSymLink() && !description))
        return {info.absoluteFilePath(), false};
    return {info.absolutePath(), !description};
}

qsizetype OtherEntriesIn(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return 0;
    qsizetype others = 0;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        others += IsSkinFileName(entry) ? 0 : 1;
    return others;
}

bool MakeSkinFolder(const QString& folder)
{
    if (QFileInfo::exists(folder) || QFileInfo(folder).isSymLink())
        return false;
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0777) != 0)
        throw SkinError("Cannot create folder \"" + DisplayPath(folder) + "\". " + SystemReason(errno));
    return true;
}
