#include "FolderWriteLock.h"

#include "FilePaths.h"
#include "SkinError.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// How long a Save as or an Open waits for another program writing the same folder.
constexpr auto LockWait = std::chrono::seconds(5);

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
        const int fd = ::open(QFile::encodeName(QDir::cleanPath(folder)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
