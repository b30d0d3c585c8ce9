#include "CommitRecord.h"

#include "FilePaths.h"
#include "SkinDocument.h"
#include "SkinError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr const char* RecordHeader = "vellumark commit 2";
// Written by earlier versions: full paths, hex-coded, and no content to check.
constexpr const char* OldRecordHeader = "vellumark commit 1";
constexpr const char* RecordEnd = "end";
constexpr const char* TemporaryMarker = ".vellumark-";
// A record names at most a few dozen files: anything longer is not ours.
constexpr std::size_t MaxRecordBytes = 64 * 1024;
// How long a Save as or an Open waits for another program writing the same folder.
constexpr auto LockWait = std::chrono::seconds(5);

std::string Native(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString Shown(const std::string& folder, const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(folder + "/" + name));
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool IsSkinFile(const std::string& name)
{
    if (name == DescriptionFileName)
        return true;
    for (int number = 0; number < SkinPictureCount; ++number) {
        if (name == PictureFileName(number).toStdString())
            return true;
    }
    return false;
}

// ".TARGET.vellumark-XXXXXX", the temporary this program gives target's new version.
bool IsTemporaryOf(const std::string& temporary, const std::string& target)
{
    const std::string prefix = "." + target + TemporaryMarker;
    return temporary.size() == prefix.size() + 6 && temporary.compare(0, prefix.size(), prefix) == 0
           && std::all_of(temporary.begin() + static_cast<std::ptrdiff_t>(prefix.size()), temporary.end(),
                          [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::optional<std::string> FromHex(std::string_view hex)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
    }
    return out;
}

// What a file of the folder holds, as a record names it: "SIZE SHA256". Empty when
// it is not a regular file that can be read (a link is not followed).
std::string Digest(int folder, const std::string& name)
{
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return {};
    struct stat info {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    long long size = 0;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        hash.addData(QByteArrayView(buffer, n));
        size += n;
    }
    ::close(fd);
    return ok ? std::to_string(size) + " " + hash.result().toHex().toStdString() : std::string();
}

struct Pair {
    std::string temporary;
    std::string target;
    std::string digest; // of the new content; empty in an old record
};

// The pairs of a record's text, or nothing when it is not a whole record of ours.
// An old record's full paths count only where they lie in folder itself.
std::optional<std::vector<Pair>> ParseRecord(const std::string& text, const std::string& folder)
{
    std::vector<Pair> pairs;
    std::size_t start = 0;
    int version = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos)
            return std::nullopt; // cut short
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (version == 0) {
            version = line == RecordHeader ? 2 : line == OldRecordHeader ? 1 : -1;
            if (version < 0)
                return std::nullopt;
            continue;
        }
        if (line == RecordEnd)
            return start == text.size() ? std::optional(pairs) : std::nullopt;
        Pair pair;
        if (version == 2) {
            const auto first = line.find(' ');
            const auto second = first == std::string::npos ? first : line.find(' ', first + 1);
            if (second == std::string::npos)
                return std::nullopt;
            pair = {line.substr(0, first), line.substr(first + 1, second - first - 1), line.substr(second + 1)};
        } else {
            const auto space = line.find(' ');
            const auto temporary = FromHex(std::string_view(line).substr(0, space == std::string::npos ? 0 : space));
            const auto target = FromHex(std::string_view(line).substr(space == std::string::npos ? 0 : space + 1));
            const std::string here = folder + "/";
            if (!temporary || !target || temporary->compare(0, here.size(), here) != 0
                || target->compare(0, here.size(), here) != 0)
                return std::nullopt;
            pair = {temporary->substr(here.size()), target->substr(here.size()), {}};
        }
        if (!IsSkinFile(pair.target) || !IsTemporaryOf(pair.temporary, pair.target))
            return std::nullopt;
        pairs.push_back(std::move(pair));
    }
    return std::nullopt;
}

// The record for files, written whole and named in one step. Throws the creation error.
void WriteRecord(const std::string& folder, const std::string& record, const QString& shownName)
{
    const std::string name = folder + "/" + CommitRecordName;
    const auto fail = [&](int error) {
        throw SkinError(CreateFileError(shownName, error));
    };
    std::string temporary;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            fail(errno);
        temporary = folder + "/." + CommitRecordName + ".vellumark-record";
        ::unlink(temporary.c_str());
        fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0)
            fail(errno);
    }
    int error = WriteAll(fd, record);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error == 0) {
        int named = 0;
        if (temporary.empty()) {
            const std::string fdPath = "/proc/self/fd/" + std::to_string(fd);
            named = ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
            if (named != 0)
                named = ::linkat(AT_FDCWD, fdPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        } else {
            named = std::rename(temporary.c_str(), name.c_str());
        }
        if (named != 0)
            error = errno;
    }
    ::close(fd);
    if (error != 0) {
        if (!temporary.empty())
            ::unlink(temporary.c_str());
        fail(error);
    }
    SyncFolder(folder);
}

// An entry of folder that this user's program may rename or remove: a regular file of
// this user, not a link. ENOENT when it is not there.
int OwnFile(int folder, const std::string& name)
{
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() ? 0 : EPERM;
}

// Whether the record's renames could be this program's: every temporary still there
// is this user's file, and each target is a file, a link (replaced, never followed)
// or not there.
bool AreOurs(int folder, const std::vector<Pair>& pairs)
{
    for (const Pair& pair : pairs) {
        struct stat target {};
        if (::fstatat(folder, pair.target.c_str(), &target, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(target.st_mode)
            && !S_ISLNK(target.st_mode))
            return false;
        const int staged = OwnFile(folder, pair.temporary);
        if (staged != 0 && staged != ENOENT)
            return false;
    }
    return true;
}

// The first target whose temporary is gone although it does not hold the new
// content: the rename cannot be done, nor told from one done before a kill.
std::optional<std::string> LostFile(int folder, const std::vector<Pair>& pairs)
{
    for (const Pair& pair : pairs) {
        if (OwnFile(folder, pair.temporary) == ENOENT && !pair.digest.empty()
            && Digest(folder, pair.target) != pair.digest)
            return pair.target;
    }
    return std::nullopt;
}

// Removes what a killed write of a skin's file left in folder: its temporaries, and
// the record's own temporary.
void RemoveTemporaries(const std::string& nativeFolder, int folder)
{
    const QStringList names =
        QDir(QFile::decodeName(QByteArray::fromStdString(nativeFolder))).entryList(QDir::Files | QDir::Hidden | QDir::System);
    const std::string recordTemporary = std::string(".") + CommitRecordName + ".vellumark-record";
    for (const QString& entry : names) {
        const std::string name = Native(entry);
        const auto marker = name.rfind(TemporaryMarker);
        const bool temporary = marker != std::string::npos && name.size() > 1
                               && IsTemporaryOf(name, name.substr(1, marker - 1)) && IsSkinFile(name.substr(1, marker - 1));
        if ((temporary || name == recordTemporary) && OwnFile(folder, name) == 0)
            ::unlinkat(folder, name.c_str(), 0);
    }
}

} // namespace

FolderWriteLock::FolderWriteLock(const QStringList& folders)
{
    if (const auto busy = Take(folders, true))
        throw SkinError("\"" + DisplayPath(*busy) + "\" is being written by another program. Try again when it is done");
}

FolderWriteLock FolderWriteLock::TryTake(const QStringList& folders)
{
    FolderWriteLock lock;
    lock.Take(folders, false);
    return lock;
}

FolderWriteLock::FolderWriteLock(FolderWriteLock&& other) noexcept : fds_(std::move(other.fds_)), held_(other.held_)
{
    other.fds_.clear();
    other.held_ = false;
}

FolderWriteLock::~FolderWriteLock()
{
    Release();
}

void FolderWriteLock::Release()
{
    for (const int fd : fds_)
        ::close(fd); // closing the last descriptor releases its flock
    fds_.clear();
    held_ = false;
}

std::optional<QString> FolderWriteLock::Take(const QStringList& folders, bool wait)
{
    struct Folder {
        dev_t device;
        ino_t inode;
        int fd;
        QString path;
    };
    std::vector<Folder> open;
    for (const QString& folder : folders) {
        const int fd = ::open(Native(QDir::cleanPath(folder)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0)
            continue;
        if (::fstat(fd, &info) != 0) {
            ::close(fd);
            continue;
        }
        const bool twice = std::any_of(open.begin(), open.end(),
                                       [&](const Folder& f) { return f.device == info.st_dev && f.inode == info.st_ino; });
        if (twice)
            ::close(fd); // flock on a second descriptor would wait for our own first
        else
            open.push_back({info.st_dev, info.st_ino, fd, folder});
    }
    std::sort(open.begin(), open.end(),
              [](const Folder& a, const Folder& b) { return std::pair(a.device, a.inode) < std::pair(b.device, b.inode); });
    for (const Folder& folder : open)
        fds_.push_back(folder.fd);

    const auto deadline = std::chrono::steady_clock::now() + LockWait;
    for (const Folder& folder : open) {
        while (::flock(folder.fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                break; // no locks here: go on without
            if (!wait || std::chrono::steady_clock::now() >= deadline) {
                Release();
                return folder.path;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    held_ = true;
    return std::nullopt;
}

void CommitTogether(const QString& folder, std::vector<ReplacementFile>& files, const FolderWriteLock&)
{
    const std::string nativeFolder = Native(QDir::cleanPath(folder));
    const int fd = ::open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string record = RecordHeader;
    record += '\n';
    for (auto& file : files)
        file.Finish();
    for (auto& file : files) {
        const std::string& staged = file.Stage();
        const std::string name = staged.substr(staged.rfind('/') + 1);
        const std::string target = file.Path().substr(file.Path().rfind('/') + 1);
        // Bare names: the record is finished wherever the folder is by then. The
        // content lets a finisher tell a file already renamed from one lost.
        record += name + ' ' + target + ' ' + (fd >= 0 ? Digest(fd, name) : std::string("0 -")) + '\n';
    }
    if (fd >= 0)
        ::close(fd);
    record += RecordEnd;
    record += '\n';

    WriteRecord(nativeFolder, record, QDir(folder).filePath(QString::fromLatin1(CommitRecordName)));
    for (auto& file : files)
        file.KeepStaged();
    for (auto& file : files)
        file.Commit(); // a failure leaves the record: the next finisher does the rest
    ::unlink((nativeFolder + "/" + CommitRecordName).c_str());
    SyncFolder(nativeFolder);
}

std::vector<std::string> FinishInterruptedCommit(const QString& folderPath, const FolderWriteLock&,
                                                 const char* operation)
{
    std::vector<std::string> notices;
    const std::string nativeFolder = Native(QDir::cleanPath(folderPath));
    if (nativeFolder.empty())
        return notices;
    const int folder = ::open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return notices;
    const QString shownRecord = Shown(nativeFolder, CommitRecordName);
    const auto setAside = [&](const std::string& why) {
        if (::renameat(folder, CommitRecordName, folder, SetAsideRecordName) != 0)
            return;
        SyncFolder(nativeFolder);
        notices.push_back(why + " It was set aside as " + SetAsideRecordName + "; the files of "
                          + DisplayPath(QFile::decodeName(QByteArray::fromStdString(nativeFolder)))
                          + " are as it found them");
    };

    struct stat info {};
    if (::fstatat(folder, CommitRecordName, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        std::string text;
        const int fd = ::openat(folder, CommitRecordName, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd >= 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
            && static_cast<std::size_t>(info.st_size) <= MaxRecordBytes) {
            text.resize(static_cast<std::size_t>(info.st_size));
            std::size_t got = 0;
            while (got < text.size()) {
                const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += static_cast<std::size_t>(n);
            }
            text.resize(got);
        }
        if (fd >= 0)
            ::close(fd);
        const auto pairs = ParseRecord(text, nativeFolder);
        const auto lost = pairs ? LostFile(folder, *pairs) : std::nullopt;
        const std::string shownFolder = DisplayPath(QFile::decodeName(QByteArray::fromStdString(nativeFolder)));
        if (!pairs || !AreOurs(folder, *pairs)) {
            setAside(DisplayPath(shownRecord) + " was not written by Vellumark's last " + operation
                     + " and was left alone.");
        } else if (lost) {
            setAside("The last " + std::string(operation) + " into " + shownFolder
                     + " was interrupted and cannot be finished: the new " + *lost + " is missing. Its skin files"
                     + " may be of two versions; " + operation + " there again to write them all.");
        } else {
            bool complete = true;
            for (const Pair& pair : *pairs) {
                if (OwnFile(folder, pair.temporary) == ENOENT)
                    continue; // renamed before the kill: the target holds the new content
                if (::renameat(folder, pair.temporary.c_str(), folder, pair.target.c_str()) != 0)
                    complete = false;
            }
            SyncFolder(nativeFolder);
            if (complete) {
                ::unlinkat(folder, CommitRecordName, 0);
                SyncFolder(nativeFolder);
            } else {
                setAside("The last " + std::string(operation) + " into " + shownFolder + " was interrupted and could not be finished. Its skin files may be of two versions; "
                         + operation + " there again to write them all.");
            }
        }
    }
    RemoveTemporaries(nativeFolder, folder);
    ::close(folder);
    return notices;
}
