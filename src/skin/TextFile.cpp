#include "TextFile.h"

#include "ReplacementFile.h"
#include "SkinError.h"

#include <QFileInfo>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TextLines SplitTextLines(std::string_view bytes)
{
    const auto nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    TextLines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::optional<TextCut> FindTextCut(std::string_view bytes)
{
    const auto nul = bytes.find('\0');
    if (nul == std::string_view::npos)
        return std::nullopt;
    TextCut cut{1, bytes.size() - nul - 1};
    for (std::size_t i = 0; i < nul; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= nul || bytes[i + 1] != '\n')))
            ++cut.line;
    }
    return cut;
}

QString FileNameFromBytes(const char* bytes)
{
    const QByteArray native(bytes);
    const QString decoded = QFile::decodeName(native);
    if (QFile::encodeName(decoded) == native)
        return decoded;
    // Held open for the rest of the run: the path below stays valid as long.
    const int fd = ::open(bytes, O_PATH | O_CLOEXEC);
    if (fd < 0)
        return decoded;
    return QStringLiteral("/proc/self/fd/") + QString::number(fd);
}

std::string DisplayPath(const QString& path)
{
    std::string shown = QFileInfo(path).absoluteFilePath().toStdString();
    // A file reached through /proc/self/fd (see FileNameFromBytes) is shown by the
    // name it was given, in its own bytes.
    static const std::string fdFolder = "/proc/self/fd/";
    if (shown.compare(0, fdFolder.size(), fdFolder) == 0) {
        const std::size_t end = shown.find('/', fdFolder.size());
        const std::string link = shown.substr(0, end);
        char target[4096];
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
        if (length > 0 && static_cast<std::size_t>(length) < sizeof target && target[0] == '/')
            shown = std::string(target, static_cast<std::size_t>(length))
                    + (end == std::string::npos ? std::string() : shown.substr(end));
    }
    return shown;
}

static std::string OpenError(const QString& path, const std::string& reason)
{
    return "Cannot open file \"" + DisplayPath(path) + "\". " + reason;
}

std::string SizeText(std::size_t bytes)
{
    if (bytes >= (std::size_t{1} << 20) && bytes % (std::size_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

namespace {

} // namespace

std::string FileKindReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return SystemReason(EISDIR);
    if (S_ISFIFO(mode))
        return "It is a named pipe, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "It is a device, not a regular file";
    if (S_ISSOCK(mode))
        return "It is a socket, not a regular file";
    return "It is not a regular file";
}

namespace {

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
        throw SkinError(OpenError(path, SystemReason(native.isEmpty() ? ENOENT : errno)));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw SkinError(OpenError(path, SystemReason(errno)));
    if (!S_ISREG(info.st_mode))
        throw SkinError(OpenError(path, FileKindReason(info.st_mode)));
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > limit)
        throw SkinError(OpenError(path, LimitReason(limit)));

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
            throw SkinError(OpenError(path, SystemReason(errno)));
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > limit)
            throw SkinError(OpenError(path, LimitReason(limit)));
    }
    return bytes;
}

TextLines ReadTextLines(const QString& path)
{
    return SplitTextLines(ReadFileBytes(path, MaxTextFileBytes));
}

void WriteTextLines(const QString& path, const TextLines& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    WriteFileReplacing(path, text);
}
