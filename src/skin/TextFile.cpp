#include "TextFile.h"

#include "SkinError.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
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

std::string DisplayPath(const QString& path)
{
    return QFileInfo(path).absoluteFilePath().toStdString();
}

static std::string OpenError(const QString& path, int errnum)
{
    return "Cannot open file \"" + DisplayPath(path) + "\". " + SystemReason(errnum);
}

std::string ReadFileBytes(const QString& path)
{
    // Plain POSIX reads so the message carries the system's own reason.
    const QByteArray native = QFile::encodeName(path);
    const int fd = native.isEmpty() ? -1 : ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw SkinError(OpenError(path, native.isEmpty() ? ENOENT : errno));
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            throw SkinError(OpenError(path, err));
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

TextLines ReadTextLines(const QString& path)
{
    return SplitTextLines(ReadFileBytes(path));
}

void WriteTextLines(const QString& path, const TextLines& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    WriteFileBytes(path, text);
}

void WriteFileBytes(const QString& path, const std::string& text)
{
    QSaveFile file(path);
    const auto fail = [&] {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw SkinError("Cannot create file \"" + DisplayPath(path) + "\". " + reason.toStdString());
    };
    // Unbuffered, with the whole text in one piece: Qt 6.4's buffered QSaveFile loses
    // a short write (a full disk, RLIMIT_FSIZE) at commit() and commits a truncated
    // file. Writing again after a short write gets the system's reason (ENOSPC, EFBIG).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    const char* data = text.data();
    qint64 left = static_cast<qint64>(text.size());
    while (left > 0) {
        const qint64 put = file.write(data, left);
        if (put <= 0)
            fail();
        data += put;
        left -= put;
    }
    if (!file.commit())
        fail();
}
