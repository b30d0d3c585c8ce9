#include "InterruptedWrites.h"

#include "CommitRecord.h"
#include "FilePaths.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The note in the working folder naming the Save-as folder whose files are being
// put in place: a start after a kill finishes that folder too.
QString SavingNote(const QString& working)
{
    return working + QStringLiteral(".vellumark-saving");
}

// The Save-as folder a note names, when the note is one this program wrote: a
// regular file of this user holding a full path. A note planted by someone else
// would let them choose a folder to clean.
std::optional<QString> NotedFolder(const QString& note)
{
    const QByteArray native = QFile::encodeName(note);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return std::nullopt;
    try {
        const std::string destination = ReadFileBytes(note, 4096);
        if (destination.empty() || destination.front() != '/' || destination.find('\0') != std::string::npos)
            return std::nullopt;
        return QFile::decodeName(QByteArray::fromStdString(destination));
    } catch (const SkinError&) {
        return std::nullopt;
    }
}

} // namespace

void RemoveStrayTemporaries(const QString& folder)
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (IsTemporaryFileName(name) || name.startsWith(QLatin1String(".kept-")))
            QFile::remove(folder + name);
    }
}

std::vector<std::string> FinishInterruptedWrites(const QString& working)
{
    std::vector<std::string> notices;
    const auto add = [&](std::vector<std::string> more) { notices.insert(notices.end(), more.begin(), more.end()); };
    const QString note = SavingNote(working);
    if (EntryExists(note)) {
        if (const auto destination = NotedFolder(note)) {
            const FolderWriteLock lock = FolderWriteLock::TryTake({*destination});
            if (lock.Held())
                add(FinishInterruptedCommit(*destination, lock));
            QFile::remove(note);
        } else {
            notices.push_back(DisplayPath(note) + " was not written by Vellumark's last Save as and was left alone");
            ::rename(QFile::encodeName(note).constData(), QFile::encodeName(note + ".set-aside").constData());
        }
    }
    const FolderWriteLock lock = FolderWriteLock::TryTake({working});
    if (lock.Held())
        add(FinishInterruptedCommit(working, lock, "Open"));
    return notices;
}

SavingNoteGuard::SavingNoteGuard(const QString& working, const QString& destination) : note_(SavingNote(working))
{
    try {
        WriteFileReplacing(note_, QFile::encodeName(QDir::cleanPath(destination)).toStdString());
    } catch (const SkinError&) {
        note_.clear();
    }
}

SavingNoteGuard::~SavingNoteGuard()
{
    // A failed Save as may have left a record there: the note stays for the next start.
    if (!note_.isEmpty() && std::uncaught_exceptions() == 0)
        QFile::remove(note_);
}
