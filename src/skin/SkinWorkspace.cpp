#include "SkinWorkspace.h"

#include "FileCopy.h"
#include "GifPicture.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString DescriptionFile = QString::fromLatin1(DescriptionFileName);

QString WithSeparator(QString folder)
{
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// The folder of a file, with a trailing separator.
QString FolderOf(const QString& file)
{
    return WithSeparator(QFileInfo(file).absolutePath());
}

// A folder in which this process may create files (root passes unless the file
// system is read-only, which matches what root can really do).
bool IsWritableFolder(const QString& folder)
{
    const QByteArray native = QFile::encodeName(folder);
    return !native.isEmpty() && QFileInfo(folder).isDir() && ::access(native.constData(), W_OK | X_OK) == 0;
}

// Whether the GIF decoder rejects the file (or it cannot be read at all).
bool PictureRejected(const QString& path)
{
    try {
        LoadGifFile(path);
        return false;
    } catch (const SkinError&) {
        return true;
    }
}

// Keeps the current bytes of file under backup: a hard link when the file system has
// them (nothing to write, nothing that can run out of space), a copy otherwise.
bool KeepBackup(const QString& file, const QString& backup)
{
    QFile::remove(backup); // left over by an interrupted earlier run
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(backup).constData()) == 0)
        return true;
    return CopyFileReplacing(file, backup);
}

bool RestoreBackup(const QString& backup, const QString& file)
{
    return std::rename(QFile::encodeName(backup).constData(), QFile::encodeName(file).constData()) == 0;
}

// A copy keeps its source's permission bits, so the files of a read-only skin would
// make a read-only working copy that the autosave cannot rewrite. The working copy
// is ours: its owner may always write it. A failure shows up when it is written.
void LetOwnerWrite(const QString& file)
{
    const QByteArray native = QFile::encodeName(file);
    struct stat info {};
    if (::lstat(native.constData(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0)
        ::chmod(native.constData(), (info.st_mode & 07777) | S_IWUSR);
}

} // namespace

SkinWorkspace::SkinWorkspace(SkinDocument& document, FolderResolver executableFolder)
    : document_(document), executableFolder_(std::move(executableFolder))
{
}

SkinWorkspace::~SkinWorkspace() = default; // the QLockFile's destructor releases the lock

QString SkinWorkspace::ExecutableFolder() const
{
    return WithSeparator(executableFolder_ ? executableFolder_() : RunningExecutableFolder());
}

QString SkinWorkspace::WorkingFolder() const
{
    const QString executable = ExecutableFolder();
    const QString beside = executable + QStringLiteral("Temp/");
    const QFileInfo besideInfo(beside);
    // "Temp/" is used when it is a folder that can be written, or when it is missing
    // and can be created beside the executable. Anything else of that name (a file)
    // is left to fail with the opening error of the working copy.
    const bool besideUsable = besideInfo.isDir() ? IsWritableFolder(beside)
                                                 : besideInfo.exists() || IsWritableFolder(executable);
    if (besideUsable)
        return beside;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return beside;
    return WithSeparator(data) + QStringLiteral("vellumark/Temp/");
}

bool SkinWorkspace::HasDescription() const
{
    return !document_.SkinFileName.isEmpty() && (document_.SkinLoaded || document_.Lines.Count() > 0);
}

void SkinWorkspace::LockWorkingFolder(const QString& folder)
{
    if (lock_ && lockedFolder_ == folder)
        return;
    auto lock = std::make_unique<QLockFile>(folder + LockFileName());
    // The lock is held for the whole run: never judge it stale by its age, only by
    // its owner having ended (QLockFile checks the process id and name).
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock); // releases the lock of an earlier working folder, if any
        lockedFolder_ = folder;
        return;
    }
    if (lock->error() == QLockFile::LockFailedError)
        throw SkinError("The working folder \"" + DisplayPath(folder)
                        + "\" is in use by another running copy of Vellumark");
    // The lock file cannot be made at all (a folder that cannot be written, or none):
    // go on without it; the copies then fail silently and the load reports the
    // working copy's state. A later Open tries again.
}

void SkinWorkspace::Open(const QString& chosenFile)
{
    if (chosenFile.isEmpty())
        return; // nothing chosen: nothing changes
    const QString source = FolderOf(chosenFile);
    const QString working = WorkingFolder();
    QDir().mkpath(working); // a failure shows up as the load's opening error
    LockWorkingFolder(working);

    for (int number = 0; number < SkinPictureCount; ++number) {
        CopyFileReplacing(source + PictureFileName(number), working + PictureFileName(number));
        LetOwnerWrite(working + PictureFileName(number));
    }
    CopyFileReplacing(source + DescriptionFile, working + DescriptionFile);
    LetOwnerWrite(working + DescriptionFile);

    document_.SkinFileName = working + DescriptionFile;
    document_.LoadSkin(document_.SkinFileName);
}

void SkinWorkspace::CheckCanSave() const
{
    if (!HasDescription())
        throw SkinError("Open a skin before saving it");
}

void SkinWorkspace::SaveAs(const QString& chosenFile)
{
    CheckCanSave();
    const QString destination = FolderOf(chosenFile);
    const QString working = FolderOf(document_.SkinFileName);
    for (int number = 0; number < SkinPictureCount; ++number)
        CopyFileReplacing(working + PictureFileName(number), destination + PictureFileName(number));
    WriteTextLines(destination + DescriptionFile, document_.Lines.Lines());
}

void SkinWorkspace::Autosave()
{
    if (!document_.SkinLoaded)
        return;
    const QString target = document_.SkinFileName.isEmpty() ? WorkingFolder() + DescriptionFile
                                                            : document_.SkinFileName;
    WriteTextLines(target, document_.Lines.Lines());
}

void SkinWorkspace::ReplacePicture(int number, const std::optional<QString>& chosenFile)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before replacing a picture");
    if (number < 0 || number >= SkinPictureCount)
        ThrowListIndexError(number);
    // The reload below reads the description file again: write the edits first so
    // that none is lost. With no description loaded there is no edit, and
    // writing the empty list would only replace whatever the working copy holds.
    if (HasDescription())
        WriteTextLines(document_.SkinFileName, document_.Lines.Lines());
    if (chosenFile && !chosenFile->isEmpty())
        ReplaceAndReload(PictureFile(number), *chosenFile);
    else
        document_.LoadSkin(document_.SkinFileName);
}

QString SkinWorkspace::PictureFile(int number) const
{
    if (document_.SkinFileName.isEmpty())
        return {};
    return FolderOf(document_.SkinFileName) + PictureFileName(number);
}

void SkinWorkspace::ReplaceAndReload(const QString& target, const QString& chosenFile)
{
    const QFileInfo targetInfo(target);
    const QString backup = targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName()
        + QStringLiteral(".previous");
    const bool hadPrevious = targetInfo.exists();
    const bool backedUp = hadPrevious && KeepBackup(target, backup);
    const bool replaced = CopyFileReplacing(chosenFile, target);
    if (!replaced && backedUp)
        QFile::remove(backup);

    try {
        document_.LoadSkin(document_.SkinFileName);
    } catch (const SkinError& error) {
        if (!replaced || !PictureRejected(target)) {
            if (backedUp)
                QFile::remove(backup);
            throw;
        }
        // The decoder rejected the new picture: it must not stay in the working copy.
        if (backedUp)
            RestoreBackup(backup, target);
        else
            QFile::remove(target); // there was none before, or it could not be kept
        std::string message = error.what();
        try {
            document_.LoadSkin(document_.SkinFileName);
        } catch (const SkinError& again) {
            message += "\n";
            message += again.what();
        }
        throw SkinError(message);
    }
    if (backedUp)
        QFile::remove(backup);
}

void SkinWorkspace::LoadAssets()
{
    LoadAssetsAndSkin(document_, AssetFilesIn(ExecutableFolder()), AssetErrors::ReportBoth);
}

void SkinWorkspace::WritePicture(int number, const std::optional<std::string>& bytes)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before replacing a picture");
    if (number < 0 || number >= SkinPictureCount)
        ThrowListIndexError(number);
    if (HasDescription())
        WriteTextLines(document_.SkinFileName, document_.Lines.Lines());
    const QString target = PictureFile(number);
    if (bytes) {
        WriteFileBytes(target, *bytes);
    } else {
        // A missing picture keeps its slot when loading: empty it here.
        QFile::remove(target);
        document_.Pictures[static_cast<std::size_t>(number)] = QImage();
    }
    document_.LoadSkin(document_.SkinFileName);
}
