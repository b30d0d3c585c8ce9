#include "StarterSkin.h"

#include "CommitRecord.h"
#include "FilePaths.h"
#include "ReplacementFile.h"
#include "SkinDocument.h"
#include "SkinError.h"
#include "SkinFormat.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace {

QStringList SkinFileNames()
{
    QStringList names{QString::fromLatin1(DescriptionFileName)};
    for (int number = 0; number < SkinPictureCount; ++number)
        names << PictureFileName(number);
    return names;
}

// Refuses a folder where the new skin would mix with, or replace, skin files.
void RefuseSkinFolder(const QString& folder, const QStringList& names)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        throw SkinError("\"" + DisplayPath(folder)
                        + "\" is not a folder; choose a new or empty folder for the new skin");
    // Every kind of entry counts, a link that leads nowhere included.
    const QStringList present = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        for (const QString& entry : present) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                throw SkinError("The folder \"" + DisplayPath(folder) + "\" already holds \""
                                + entry.toLocal8Bit().toStdString()
                                + "\"; a new skin needs a folder without Ruvex.rvk and 0.gif to 14.gif");
        }
    }
}

} // namespace

QString StarterSkinFolder(const QString& executableFolder)
{
    return executableFolder + QStringLiteral("Files/Starter/");
}

QString WriteStarterSkin(const QString& starter, const QString& folder)
{
    const QStringList names = SkinFileNames();
    RefuseSkinFolder(folder, names);
    // Read whole before the folder is made: a damaged installation leaves no trace.
    std::vector<std::string> contents;
    for (const QString& name : names) {
        const std::size_t limit = name == names.front() ? MaxTextFileBytes : MaxPictureFileBytes;
        contents.push_back(ReadFileBytes(QDir(starter).filePath(name), limit));
    }
    QDir().mkpath(folder); // a failure shows as the files' creation error
    const QDir target(folder);
    // What a New skin killed half-way left here (its temporaries, or its record before
    // the first rename) is cleared or finished first: the files below replace it.
    const FolderWriteLock lock({target.absolutePath()});
    FinishInterruptedCommit(target.absolutePath(), lock);
    std::vector<ReplacementFile> files;
    for (int i = 0; i < names.size(); ++i) {
        files.emplace_back(target.absoluteFilePath(names[i]));
        files.back().Write(contents[static_cast<std::size_t>(i)]);
    }
    // Together even under a kill: the next Open of the folder finishes a half-made skin.
    CommitTogether(target.absolutePath(), files, lock);
    return target.absoluteFilePath(names.front());
}
