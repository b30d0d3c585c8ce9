#include "PictureContent.h"

#include "FileCopy.h"
#include "ReplacementFile.h"
#include "SkinError.h"
#include "TextFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

PictureContent PictureContent::Of(std::string bytes)
{
    PictureContent content;
    content.kind = Kind::Bytes;
    content.bytes = std::make_shared<const std::string>(std::move(bytes));
    return content;
}

bool SamePicture(const PictureContent& a, const PictureContent& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case PictureContent::Kind::Absent: return true;
    case PictureContent::Kind::Bytes: return a.bytes == b.bytes || *a.bytes == *b.bytes;
    case PictureContent::Kind::Unreadable: return a.kept == b.kept || IsSameFile(a.kept, b.kept);
    }
    return false;
}

PictureContent ReadPictureContent(const QString& file, const QString& keepAs)
{
    struct stat info {};
    if (::lstat(Native(file).constData(), &info) != 0 && errno == ENOENT)
        return {};
    try {
        return PictureContent::Of(ReadFileBytes(file, MaxPictureFileBytes));
    } catch (const SkinError& error) {
        PictureContent content;
        content.kind = PictureContent::Kind::Unreadable;
        content.reason = error.what();
        if (!keepAs.isEmpty()) {
            ::unlink(Native(keepAs).constData());
            if (::link(Native(file).constData(), Native(keepAs).constData()) == 0)
                content.kept = keepAs;
        }
        return content;
    }
}

void PutPictureContent(const QString& file, const PictureContent& content)
{
    switch (content.kind) {
    case PictureContent::Kind::Bytes: WriteFileReplacing(file, *content.bytes); return;
    case PictureContent::Kind::Absent:
        if (::unlink(Native(file).constData()) != 0 && errno != ENOENT)
            throw SkinError(CreateFileError(file, errno));
        return;
    case PictureContent::Kind::Unreadable: {
        if (content.kept.isEmpty() || IsSameFile(content.kept, file))
            return;
        // Linked under a temporary name, then renamed over: the file is never missing.
        const QString temporary = content.kept + QStringLiteral(".back");
        ::unlink(Native(temporary).constData());
        if (::link(Native(content.kept).constData(), Native(temporary).constData()) != 0)
            throw SkinError(CreateFileError(file, errno));
        if (std::rename(Native(temporary).constData(), Native(file).constData()) != 0) {
            const int error = errno;
            ::unlink(Native(temporary).constData());
            throw SkinError(CreateFileError(file, error));
        }
        return;
    }
    }
}

FileStamp StampOf(const QString& file)
{
    struct stat info {};
    if (::stat(Native(file).constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size,
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}
