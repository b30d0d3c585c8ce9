#include "ReplacementFile.h"

#include "SkinError.h"
#include "FilePaths.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* TemporaryMarker = ".vellumark-";

std::string NativePath(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    return std::string(native.constData(), static_cast<std::size_t>(native.size()));
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// "folder/.name.vellumark-XXXXXX" with a fresh random suffix.
std::string TemporaryName(const std::string& target)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const auto slash = target.rfind('/');
    std::string name = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    name += "." + (slash == std::string::npos ? target : target.substr(slash + 1)) + TemporaryMarker;
    for (int i = 0; i < 6; ++i)
        name += Letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof Letters - 1))];
    return name;
}

} // namespace

std::string CreateFileError(const QString& path, int errnum)
{
    return "Cannot create file \"" + DisplayPath(path) + "\". " + SystemReason(errnum);
}

bool IsTemporaryFileName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..+\\.vellumark-[A-Za-z0-9]{6}$"));
    return pattern.match(name).hasMatch();
}

// Whether the system's rule for links in shared folders (sticky and writable by all,
// as /tmp) lets this process follow the link with that owner in folder: only the
// user's own links there, or the folder owner's. Applied whatever the system's own
// setting: the writer resolves links itself, so the system never gets to apply it.
static bool MayFollowLink(uid_t linkOwner, const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || (info.st_mode & (S_ISVTX | S_IWOTH)) != (S_ISVTX | S_IWOTH))
        return true;
    return linkOwner == ::geteuid() || linkOwner == info.st_uid;
}

// The file a chain of symbolic links ends at (path itself when it is no link): the
// new version goes beside that file, so the links stay links. Refuses a link the
// system would not follow (see MayFollowLink) and one that leads nowhere, which
// would create a file of its maker's choosing. Gives up (ELOOP) as the system does
// after 40 links.
static std::string ResolvedTarget(const QString& target, std::string path)
{
    const auto refuse = [&](const std::string& reason) {
        throw SkinError("Cannot create file \"" + DisplayPath(target) + "\". " + reason);
    };
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (hops > 0 && (errno == ENOENT || errno == ENOTDIR))
                refuse("It is a link to \"" + DisplayPath(QFile::decodeName(path.c_str())) + "\", which does not exist");
            return path;
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        if (!MayFollowLink(info.st_uid, FolderOf(path))) {
            const std::string reason = "a link in a shared folder (sticky, writable by all) made by another user: it is not followed";
            refuse(hops == 0 ? "It is " + reason
                             : "It leads through \"" + DisplayPath(QFile::decodeName(path.c_str())) + "\", " + reason);
        }
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size())
            return path; // changed meanwhile: the write fails or replaces as it can
        link.resize(static_cast<std::size_t>(length));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return {};
}

ReplacementFile::ReplacementFile(const QString& target, int newFileMode, LinkPolicy links) : target_(target)
{
    path_ = NativePath(target);
    if (path_.empty())
        Fail(ENOENT);
    if (links == LinkPolicy::WriteThrough) {
        path_ = ResolvedTarget(target, path_);
        if (path_.empty())
            Fail(errno);
    }
    const std::string& native = path_;
    struct stat info {};
    if (::stat(native.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            Fail(EISDIR);
        // A pipe or a device named for output would be replaced by a file, not
        // written to, and the run would say it wrote it.
        if (links == LinkPolicy::WriteThrough && !S_ISREG(info.st_mode))
            throw SkinError("Cannot create file \"" + DisplayPath(target) + "\". " + FileKindReason(info.st_mode));
        if (S_ISREG(info.st_mode)) {
            mode_ = info.st_mode & 07777;
            setMode_ = true;
        }
        // The rename would replace a write-protected file as easily as any other: a
        // file the user protected is refused as a direct write would be.
        if (::access(native.c_str(), W_OK) != 0)
            Fail(errno);
    }
    if (!setMode_ && newFileMode >= 0) {
        mode_ = static_cast<mode_t>(newFileMode) & 07777;
        setMode_ = true;
    }

    fd_ = ::open(FolderOf(native).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0)
        return;
    // No unnamed files on this file system (or an old kernel): a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        Fail(errno);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(native);
        fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporaryName_ = std::move(name);
            return;
        }
        if (errno != EEXIST)
            Fail(errno);
    }
    Fail(EEXIST);
}

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : target_(std::move(other.target_)), path_(std::move(other.path_)), temporaryName_(std::move(other.temporaryName_)), fd_(other.fd_),
      mode_(other.mode_), setMode_(other.setMode_), finished_(other.finished_), keepStaged_(other.keepStaged_)
{
    other.fd_ = -1;
    other.temporaryName_.clear();
}

ReplacementFile::~ReplacementFile()
{
    Discard();
}

void ReplacementFile::Discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporaryName_.empty() && !keepStaged_)
        ::unlink(temporaryName_.c_str());
    temporaryName_.clear();
}

void ReplacementFile::Fail(int errnum) const
{
    throw SkinError(CreateFileError(target_, errnum));
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return put < 0 ? errno : ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

void ReplacementFile::Write(std::string_view bytes)
{
    if (const int error = WriteAll(fd_, bytes))
        Fail(error);
}

void ReplacementFile::Finish()
{
    if (finished_)
        return;
    if (setMode_ && ::fchmod(fd_, mode_) != 0)
        Fail(errno);
    // A full disk on a network file system shows up only here.
    if (::fsync(fd_) != 0)
        Fail(errno);
    finished_ = true;
}

const std::string& ReplacementFile::Stage()
{
    Finish();
    if (temporaryName_.empty()) {
        // Give the unnamed file a name beside the target; the rename over the target
        // comes in Commit(): linkat cannot replace an existing file.
        const std::string& target = path_;
        const std::string fdPath = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0;; ++attempt) {
            std::string name = TemporaryName(target);
            if (::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0
                || ::linkat(AT_FDCWD, fdPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                temporaryName_ = std::move(name);
                break;
            }
            if (errno != EEXIST || attempt >= 100)
                Fail(errno);
        }
    }
    return temporaryName_;
}

void ReplacementFile::Commit()
{
    Stage();
    const std::string& target = path_;
    if (fd_ >= 0) {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            Fail(errno);
    }
    if (std::rename(temporaryName_.c_str(), target.c_str()) != 0)
        Fail(errno);
    temporaryName_.clear();
    // The rename itself is made durable with the folder.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void WriteFileReplacing(const QString& path, std::string_view bytes, LinkPolicy links)
{
    ReplacementFile file(path, -1, links);
    file.Write(bytes);
    file.Commit();
}

