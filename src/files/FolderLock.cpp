#include "FolderLock.h"

#include <QFile>

#include <cerrno>
#include <utility>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FolderLock::Outcome FolderLock::Take(const QString& file, std::unique_ptr<FolderLock>& lock)
{
    const QByteArray native = QFile::encodeName(file);
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0)
            fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            return Outcome::Unavailable;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Outcome::HeldByAnother : Outcome::Unavailable;
        }
        // The holder before may have removed the file between our open and our
        // flock: then the lock is on a file nobody else will find. Try again.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(native.constData(), &named) == 0 && held.st_dev == named.st_dev
            && held.st_ino == named.st_ino) {
            lock.reset(new FolderLock(native, fd));
            return Outcome::Taken;
        }
        ::close(fd);
    }
    return Outcome::Unavailable;
}

FolderLock::~FolderLock()
{
    // Removed while still held, so no one can lock the name in between.
    ::unlink(file_.constData());
    ::close(fd_);
}
