#include "FileCopy.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor once; reports whether close() succeeded.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int Get() const { return fd_; }
    bool Close()
    {
        if (fd_ < 0)
            return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (put == 0)
            return false;
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

bool CopyContents(int from, int to)
{
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (!WriteAll(to, buffer, static_cast<std::size_t>(got)))
            return false;
    }
}

// "folder/.name.XXXXXX": a temporary name beside the target, so the final rename
// stays within one file system.
std::string TemporaryTemplate(const QByteArray& target)
{
    std::string path(target.constData(), static_cast<std::size_t>(target.size()));
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
}

} // namespace

bool IsSameFile(const QString& first, const QString& second)
{
    const QByteArray a = QFile::encodeName(first);
    const QByteArray b = QFile::encodeName(second);
    struct stat sa {};
    struct stat sb {};
    if (a.isEmpty() || b.isEmpty() || ::stat(a.constData(), &sa) != 0 || ::stat(b.constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool CopyFileReplacing(const QString& source, const QString& target)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    if (from.isEmpty() || to.isEmpty())
        return false;

    Descriptor input(::open(from.constData(), O_RDONLY | O_CLOEXEC));
    if (input.Get() < 0)
        return false;
    struct stat sourceInfo {};
    if (::fstat(input.Get(), &sourceInfo) != 0 || !S_ISREG(sourceInfo.st_mode))
        return false;

    mode_t mode = sourceInfo.st_mode & 0777;
    struct stat targetInfo {};
    if (::stat(to.constData(), &targetInfo) == 0) {
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
            return true; // the same file: nothing to do, and nothing may be truncated
        if (S_ISREG(targetInfo.st_mode))
            mode = targetInfo.st_mode & 0777;
    }

    std::string temporary = TemporaryTemplate(to);
    Descriptor output(::mkostemp(temporary.data(), O_CLOEXEC));
    if (output.Get() < 0)
        return false;

    const bool written = CopyContents(input.Get(), output.Get())
        && ::fchmod(output.Get(), mode) == 0
        && ::fsync(output.Get()) == 0;
    const bool closed = output.Close();
    if (!written || !closed || ::rename(temporary.c_str(), to.constData()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
