#include "FileCopy.h"

#include "ReplacementFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QFile>

#include <sys/stat.h>

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

int FileMode(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0)
        return -1;
    return static_cast<int>(info.st_mode & 07777);
}

bool CopyFileReplacing(const QString& source, const QString& target)
{
    if (source.isEmpty() || target.isEmpty())
        return false;
    if (IsSameFile(source, target))
        return true; // the same file: nothing to do, and nothing may be truncated
    try {
        const std::string bytes = ReadFileBytes(source, MaxPictureFileBytes);
        ReplacementFile file(target, FileMode(source));
        file.Write(bytes);
        file.Commit();
        return true;
    } catch (const SkinError&) {
        return false;
    }
}
