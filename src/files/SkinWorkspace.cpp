#include "SkinWorkspace.h"

#include "CommitRecord.h"
#include "FileCopy.h"
#include "FilePaths.h"
#include "FolderLock.h"
#include "GifFile.h"
#include "InterruptedWrites.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <optional>
#include <utility>
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

// Whether path is not there at all (as opposed to there but not to be looked at).
bool IsAbsent(const QString& path)
{
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    return native.isEmpty() || (::lstat(native.constData(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR));
}

// Refuses a skin file that is a link to a file outside the skin's own folder: a
// downloaded skin could carry a private file of the author's into the working
// copy and from there into every skin saved. A link that cannot be resolved is left
// to its reading, which says why.
void RefuseLinkOutOfFolder(const QString& folder, const QString& name)
{
    const QByteArray file = QFile::encodeName(folder + name);
    struct stat info {};
    if (::lstat(file.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
        return;
    char* resolved = ::realpath(file.constData(), nullptr);
    char* resolvedFolder = ::realpath(QFile::encodeName(folder).constData(), nullptr);
    const QString target = resolved != nullptr ? QFile::decodeName(resolved) : QString();
    const bool inside = resolved != nullptr && resolvedFolder != nullptr
                        && QFileInfo(target).path() == QFile::decodeName(resolvedFolder);
    std::free(resolved);
    std::free(resolvedFolder);
    if (!target.isEmpty() && !inside)
        throw SkinError(name.toStdString() + " is a link to a file outside the skin: \"" + DisplayPath(folder + name)
                        + "\" leads to \"" + DisplayPath(target) + "\"");
}

// An error of loading the working copy as the user would read it: the copied
// files named where the user chose them, not in the working folder they never see.
std::string NamingChosenFiles(std::string message, const QString& working, const QString& source,
                              const QStringList& copied)
{
    for (const QString& name : copied) {
        const std::string from = '"' + DisplayPath(working + name) + '"';
        const std::string to = '"' + DisplayPath(source + name) + '"';
        for (auto at = message.find(from); at != std::string::npos; at = message.find(from, at + to.size()))
            message.replace(at, from.size(), to);
    }
    return message;
}

// Refuses, before anything is written, a copy into folder that could not complete:
// the folder cannot be written (every file would fail, so the first is named), or
// an existing file there cannot be replaced (the first such one is named).
void RefuseUnwritable(const QString& folder)
{
    const QStringList names = SkinFileNames();
    const QByteArray native = QFile::encodeName(folder);
    if (native.isEmpty() || ::access(native.constData(), W_OK | X_OK) != 0)
        throw SkinError(CreateFileError(folder + names.front(), native.isEmpty() ? ENOENT : errno));
    for (const QString& name : names) {
        const QByteArray file = QFile::encodeName(folder + name);
        struct stat info {};
        if (::stat(file.constData(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            throw SkinError(CreateFileError(folder + name, EISDIR));
        if (::access(file.constData(), W_OK) != 0)
            throw SkinError(CreateFileError(folder + name, errno));
    }
}

// The new version of target holding source's bytes, read as any picture or
// description file is. Throws the reading or the creation error.
ReplacementFile CopyOf(const QString& source, const QString& target, std::size_t limit)
{
    const std::string bytes = ReadFileBytes(source, limit);
    ReplacementFile file(target, FileMode(source));
    file.Write(bytes);
    return file;
}

std::size_t LimitOf(const QString& name)
{
    return name == DescriptionFile ? MaxTextFileBytes : MaxPictureFileBytes;
}

} // namespace

SkinWorkspace::SkinWorkspace(SkinDocument& document, FolderResolver executableFolder)
    : document_(document), executableFolder_(std::move(executableFolder))
{
}

SkinWorkspace::~SkinWorkspace() = default; // the FolderLock's destructor releases the lock

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
    // is left to fail with the opening error of the working copy. A link is refused
    // as an unwritable folder is: the start's cleaning and every Open would work in
    // whatever folder it points at.
    const bool besideUsable = QFileInfo(executable + QStringLiteral("Temp")).isSymLink() ? false
                              : besideInfo.isDir() ? IsWritableFolder(beside)
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
    std::unique_ptr<FolderLock> lock;
    switch (FolderLock::Take(folder + LockFileName(), lock)) {
    case FolderLock::Outcome::Taken:
        lock_ = std::move(lock); // releases the lock of an earlier working folder, if any
        lockedFolder_ = folder;
        Tell(FinishInterruptedWrites(folder));
        RemoveStrayTemporaries(folder);
        return;
    case FolderLock::Outcome::HeldByAnother:
        throw SkinError("The working folder \"" + DisplayPath(folder)
                        + "\" is in use by another running copy of Vellumark");
    case FolderLock::Outcome::Unavailable:
        // The lock file cannot be made at all (a folder that cannot be written, or
        // none): go on without it; the copies then fail with their creation error.
        // A later Open tries again.
        return;
    }
}

void SkinWorkspace::Open(const QString& chosenFile)
{
    if (chosenFile.isEmpty())
        return; // nothing chosen: nothing changes
    CopySkinIn(chosenFile);
    LoadWorkingCopy();
}

std::vector<int> SkinWorkspace::CopySkinIn(const QString& chosenFile)
{
    const QString source = FolderOf(chosenFile);
    const QString working = WorkingFolder();
    QDir().mkpath(working); // a failure shows up as the copies' creation error
    LockWorkingFolder(working);

    // All or nothing: every file is read and written beside its working copy first,
    // and only when all are written are they put in place, together even under a
    // kill. A failed read or write leaves the working folder and the document as
    // they were. A file the skin folder lacks keeps the working folder's. A Save as
    // into the skin folder that was killed is finished before its files are read, and
    // no other program writes either folder meanwhile.
    const FolderWriteLock lock({source, working});
    Tell(FinishInterruptedCommit(source, lock));
    std::vector<ReplacementFile> copies;
    QStringList copied;
    std::vector<int> kept;
    for (const QString& name : SkinFileNames()) {
        // Only a file that is not there is left out: one the folder does not let us
        // see (no search permission) is read, and its reading says why it cannot be.
        if (IsAbsent(source + name)) {
            if (name != DescriptionFile && EntryExists(working + name))
                kept.push_back(name.chopped(4).toInt());
            continue;
        }
        RefuseLinkOutOfFolder(source, name);
        if (IsSameFile(source + name, working + name))
            continue;
        copies.push_back(CopyOf(source + name, working + name, LimitOf(name)));
        copied << name;
    }
    if (!copies.empty())
        CommitTogether(working, copies, lock);
    for (const QString& name : copied)
        LetOwnerWrite(working + name);
    document_.SkinFileName = working + DescriptionFile;
    copiedFrom_ = source;
    copiedNames_ = copied;
    return kept;
}

void SkinWorkspace::LoadWorkingCopy(const PictureReader& read)
{
    try {
        LoadSkin(document_, document_.SkinFileName, read);
    } catch (const SkinError& error) {
        throw SkinError(NamingChosenFiles(error.what(), FolderOf(document_.SkinFileName), copiedFrom_, copiedNames_));
    }
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
    // What a killed write left there is finished or set aside first, so that neither
    // it nor another program writing the folder meanwhile can block or mix this one.
    const FolderWriteLock lock({destination});
    Tell(FinishInterruptedCommit(destination, lock));
    RefuseUnwritable(destination);
    const SavingNoteGuard note(working, destination);

    // All sixteen files are written beside their targets first and put in place
    // only when all are written, together even under a kill: a full disk or a
    // refused write changes nothing.
    std::vector<ReplacementFile> files;
    for (int number = 0; number < SkinPictureCount; ++number) {
        const QString from = working + PictureFileName(number);
        const QString to = destination + PictureFileName(number);
        if (!EntryExists(from) || IsSameFile(from, to))
            continue;
        files.push_back(CopyOf(from, to, MaxPictureFileBytes));
    }
    files.emplace_back(destination + DescriptionFile);
    files.back().Write(JoinTextLines(document_.Lines.Lines()));
    CommitTogether(destination, files, lock);
}

void SkinWorkspace::Autosave()
{
    if (!document_.SkinLoaded)
        return;
    const QString target = document_.SkinFileName.isEmpty() ? WorkingFolder() + DescriptionFile
                                                            : document_.SkinFileName;
    WriteTextLines(target, document_.Lines.Lines());
}

QString SkinWorkspace::PictureFile(int number) const
{
    if (document_.SkinFileName.isEmpty())
        return {};
    return FolderOf(document_.SkinFileName) + PictureFileName(number);
}

void SkinWorkspace::RecoverAtStart()
{
    const QString working = WorkingFolder();
    if (!QFileInfo(working).isDir())
        return;
    try {
        LockWorkingFolder(working);
    } catch (const SkinError&) {
        // Another running copy holds it: what is there is that copy's.
    }
}

void SkinWorkspace::LoadAssets()
{
    RecoverAtStart();
    ::LoadAssets(document_, AssetFilesIn(ExecutableFolder()));
}

void SkinWorkspace::Tell(std::vector<std::string> notices)
{
    notices_.insert(notices_.end(), std::make_move_iterator(notices.begin()), std::make_move_iterator(notices.end()));
}

std::vector<std::string> SkinWorkspace::TakeNotices()
{
    return std::exchange(notices_, {});
}

QString SkinWorkspace::KeptFile(int number)
{
    if (document_.SkinFileName.isEmpty())
        return {};
    return FolderOf(document_.SkinFileName) + QStringLiteral(".kept-%1-%2").arg(number).arg(++keptFiles_);
}

std::vector<std::string> WriteSkinFiles(const QString& folder, const SkinFileSet& files)
{
    const FolderWriteLock lock({folder});
    std::vector<std::string> notices = FinishInterruptedCommit(folder, lock);
    RefuseUnwritable(folder);
    std::vector<ReplacementFile> written;
    for (const auto& [name, bytes] : files) {
        written.emplace_back(folder + name);
        written.back().Write(bytes);
    }
    CommitTogether(folder, written, lock);
    return notices;
}
