#include "FilePaths.h"

#include "SkinError.h"
#include "SkinFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

SkinPath SkinPathOf(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    return {folder, QDir(folder).filePath(QString::fromLatin1(DescriptionFileName))};
}

std::string OpenFileError(const QString& path, const std::string& reason)
{
    return "Cannot open file \"" + DisplayPath(path) + "\". " + reason;
}

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

bool EntryExists(const QString& path)
{
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    return !native.isEmpty() && ::lstat(native.constData(), &info) == 0;
}
