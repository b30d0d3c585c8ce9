#include "TextFile.h"

#include "FilePaths.h"
#include "ReplacementFile.h"
#include "SkinError.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "1 MiB", "16 MiB", "512 KiB" or "N bytes": a limit as messages show it.
std::string SizeText(std::size_t bytes)
{
    if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

std::string LimitReason(std::size_t limit)
{
    return "The file is larger than the limit of " + SizeText(limit);
}

} // namespace

std::string ReadFileBytes(const QString& path, std::size_t limit)
{
    // Plain POSIX reads so the message carries the system's own reason. O_NONBLOCK
    // keeps the open of a named pipe without a writer from waiting forever; the
    // file's kind and size are judged on the opened file itself.
    const QByteArray native = QFile::encodeName(path);
    const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throw SkinError(OpenFileError(path, SystemReason(native.isEmpty() ? ENOENT : errno)));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw SkinError(OpenFileError(path, SystemReason(errno)));
    if (!S_ISREG(info.st_mode))
        throw SkinError(OpenFileError(path, FileKindReason(info.st_mode)));
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > limit)
        throw SkinError(OpenFileError(path, LimitReason(limit)));

    // The size may change while reading (a file still being written): never read
    // past the limit whatever the file does.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const std::size_t room = limit + 1 - bytes.size();
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, room));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw SkinError(OpenFileError(path, SystemReason(errno)));
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > limit)
            throw SkinError(OpenFileError(path, LimitReason(limit)));
    }
    return bytes;
}

TextLines ReadTextLines(const QString& path)
{
    return SplitTextLines(ReadFileBytes(path, MaxTextFileBytes));
}

void WriteTextLines(const QString& path, const TextLines& lines)
{
    WriteFileReplacing(path, JoinTextLines(lines));
}
