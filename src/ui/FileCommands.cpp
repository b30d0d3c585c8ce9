#include "FileCommands.h"

#include "DialogService.h"
#include "EditingSession.h"
#include "ErrorReporter.h"
#include "FilePaths.h"
#include "SkinError.h"
#include "SkinSaving.h"
#include "StarterSkin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <cerrno>
#include <sys/stat.h>

FileCommands::FileCommands(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors,
                           QWidget* window)
    : QObject(window), session_(session), dialogs_(dialogs), errors_(errors)
{
    saving_ = new SkinSaving(session_, dialogs_, recent_, this);
}

void FileCommands::Open()
{
    errors_.Run([this] {
        if (const auto chosen = dialogs_.OpenSkinFile())
            OpenSkin(*chosen);
    });
}

void FileCommands::OpenPath(const QString& path)
{
    errors_.Run([&] {
        const QFileInfo info(path);
        // A dialog offers only what exists; a typed path may name nothing, or a loop of
        // links, or lie in a folder that cannot be searched: the system says which.
        if (!info.exists()) {
            struct stat status {};
            const int reason = ::stat(QFile::encodeName(path).constData(), &status) != 0 ? errno : ENOENT;
            throw SkinError(OpenFileError(path, SystemReason(reason)));
        }
        OpenSkin(SkinPathOf(path).description);
    });
}

void FileCommands::OpenRecent(const QString& file)
{
    errors_.Run([&] {
        const QString folder = QFileInfo(file).absolutePath();
        if (!QFileInfo(folder).isDir()) {
            recent_.Remove(file); // the menu is filled afresh when next opened
            dialogs_.ShowWarning(ApplicationTitle(QCoreApplication::applicationName()),
                                 QStringLiteral("The skin folder \"%1\" is gone. It was removed from the recent list.")
                                     .arg(QDir::toNativeSeparators(folder)));
            return;
        }
        OpenSkin(file);
    });
}

void FileCommands::NewSkin()
{
    errors_.Run([this] {
        // Asked before anything is written: a cancel leaves no starter skin behind.
        if (MayLeaveSkin())
            saving_->NewSkin(StarterSkinFolder(session_.Workspace().ExecutableFolder()));
    });
}

void FileCommands::OpenSkin(const QString& file, bool asked)
{
    if (!asked && !MayLeaveSkin())
        return;
    session_.Open(file);
    if (!file.isEmpty())
        recent_.Add(file);
}

bool FileCommands::MayLeaveSkin()
{
    if (!session_.IsModified())
        return true;
    const UnsavedChangesAnswer answer = dialogs_.AskUnsavedChanges(
        QStringLiteral("The skin has changes that were not saved."), !saving_->SaveFolder().isEmpty());
    if (answer == UnsavedChangesAnswer::Discard)
        return true;
    if (answer == UnsavedChangesAnswer::Cancel)
        return false;
    // A cancelled or failed save keeps the skin.
    bool saved = false;
    errors_.Run([&] { saved = answer == UnsavedChangesAnswer::Save ? saving_->Save() : saving_->SaveAs(); });
    return saved;
}
