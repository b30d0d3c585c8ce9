#include "SkinSaving.h"

#include "DialogService.h"
#include "EditingSession.h"
#include "FilePaths.h"
#include "RecentSkins.h"
#include "SkinError.h"
#include "StarterSkin.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

QString Native(const QString& folder)
{
    return QDir::toNativeSeparators(folder);
}

bool IsSkinFileName(const QString& name)
{
    if (name == QLatin1String(DescriptionFileName))
        return true;
    for (int number = 0; number < SkinPictureCount; ++number)
        if (name == PictureFileName(number))
            return true;
    return false;
}

} // namespace

bool MakeSkinFolder(const QString& folder)
{
    if (QFileInfo::exists(folder) || QFileInfo(folder).isSymLink())
        return false;
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0777) != 0)
        throw SkinError("Cannot create folder \"" + DisplayPath(folder) + "\". " + SystemReason(errno));
    return true;
}

SkinSaving::SkinSaving(EditingSession& session, DialogService& dialogs, RecentSkins& recent, QObject* parent)
    : QObject(parent), session_(session), dialogs_(dialogs), recent_(recent)
{
    // Whatever was opened is saved back where it came from, after a question (a New
    // skin sets its folder again after its Open, with none).
    connect(&session_, &EditingSession::Changed, this, [this](const SkinChange& change) {
        if (change.opened)
            SetSaveFolder(session_.SkinFolder(), true);
    });
}

bool SkinSaving::SaveAs()
{
    session_.Workspace().CheckCanSave();
    // A No to a question goes back to the dialog, where another folder can be chosen.
    for (;;) {
        const auto chosen = dialogs_.SaveSkinFile(session_.SkinFolder());
        if (!chosen || chosen->isEmpty())
            return false;
        const QFileInfo info(*chosen);
        QString folder = info.absolutePath();
        if (info.isDir()) {
            folder = info.absoluteFilePath();
        } else if (!info.exists() && !info.isSymLink()
                   && info.fileName().compare(QLatin1String(DescriptionFileName), Qt::CaseInsensitive) != 0) {
            folder = info.absoluteFilePath(); // a new name: a folder made for the skin, as New skin does
        } else if (info.fileName().compare(QLatin1String(DescriptionFileName), Qt::CaseInsensitive) != 0) {
            // Another file: the whole skin would go into its folder unnoticed.
            if (!dialogs_.Confirm(QStringLiteral("Write the skin into %1 (its %2 and pictures)?")
                                      .arg(Native(folder), QString::fromLatin1(DescriptionFileName))))
                continue;
        }
        if (!MayWriteAmongOthers(folder))
            continue;
        WriteInto(folder);
        return true;
    }
}

bool SkinSaving::Save()
{
    if (saveFolder_.isEmpty())
        return false;
    if (askFirst_) {
        switch (dialogs_.AskWriteIntoOpened(
            QStringLiteral("Write the changes into %1, the folder it was opened from?").arg(Native(saveFolder_)))) {
        case OpenedFolderAnswer::Save: break;
        case OpenedFolderAnswer::SaveAs: return SaveAs();
        case OpenedFolderAnswer::Cancel: return false;
        }
    }
    WriteInto(saveFolder_);
    return true;
}

bool SkinSaving::NewSkin(const QString& starterFolder)
{
    const auto folder = dialogs_.ChooseNewSkinFolder();
    if (!folder || folder->isEmpty())
        return false;
    const bool made = MakeSkinFolder(*folder);
    QString file;
    try {
        file = WriteStarterSkin(starterFolder, *folder);
    } catch (const SkinError&) {
        if (made)
            QDir().rmdir(*folder);
        throw;
    }
    session_.Open(file);
    recent_.Add(file);
    SetSaveFolder(QFileInfo(file).absolutePath());
    return true;
}

bool SkinSaving::MayWriteAmongOthers(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return true;
    qsizetype others = 0;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        others += IsSkinFileName(entry) ? 0 : 1;
    if (others == 0)
        return true; // a skin's own files are replaced, as Save as always does
    return dialogs_.Confirm(QStringLiteral("%1 holds %2 other %3. Write the skin's %4 and 0.gif to 14.gif into it?")
                                .arg(Native(folder))
                                .arg(others)
                                .arg(others == 1 ? QStringLiteral("file") : QStringLiteral("files"))
                                .arg(QString::fromLatin1(DescriptionFileName)));
}

void SkinSaving::WriteInto(const QString& folder)
{
    const bool made = MakeSkinFolder(folder);
    const QString file = QDir(folder).absoluteFilePath(QString::fromLatin1(DescriptionFileName));
    try {
        session_.SaveAs(file);
    } catch (const SkinError&) {
        if (made)
            QDir().rmdir(folder);
        throw;
    }
    recent_.Add(file);
    SetSaveFolder(QFileInfo(file).absolutePath());
    emit Saved(QFileInfo(file).absolutePath());
}

void SkinSaving::SetSaveFolder(const QString& folder, bool askFirst)
{
    askFirst_ = askFirst && !folder.isEmpty();
    if (folder == saveFolder_)
        return;
    saveFolder_ = folder;
    emit SaveFolderChanged(folder);
}
