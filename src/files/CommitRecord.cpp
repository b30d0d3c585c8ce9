#include "CommitRecord.h"

#include "SkinError.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <optional>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr const char* RecordHeader = "vellumark commit 1";
constexpr const char* RecordEnd = "end";
// A record names at most a few dozen files: anything longer is not ours.
constexpr std::size_t MaxRecordBytes = 64 * 1024;

std::string Native(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string Hex(const std::string& bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out += Digits[c >> 4];
        out += Digits[c & 15];
    }
    return out;
}

std::optional<std::string> FromHex(std::string_view hex)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
    }
    return out;
}

// A pair the record may name: a file, by its full path, and the temporary this
// program gives its new version beside it. Anything else would let a planted
// record rename files of its choosing.
bool IsPair(const std::string& temporary, const std::string& target)
{
    const auto slash = target.rfind('/');
    if (target.empty() || target.front() != '/' || slash + 1 == target.size())
        return false;
    const std::string name = target.substr(slash + 1);
    if (name == "." || name == "..")
        return false;
    const std::string prefix = target.substr(0, slash + 1) + "." + name + ".vellumark-";
    return temporary.size() == prefix.size() + 6 && temporary.compare(0, prefix.size(), prefix) == 0
           && IsTemporaryFileName(QFile::decodeName(QByteArray::fromStdString(BaseName(temporary))));
}

// The pairs of a record's text, or nothing when it is not a whole record of ours.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseRecord(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t start = 0;
    bool header = false;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string::npos)
            return std::nullopt; // cut short
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!header) {
            if (line != RecordHeader)
                return std::nullopt;
            header = true;
            continue;
        }
        if (line == RecordEnd)
            return start == text.size() ? std::optional(pairs) : std::nullopt;
        const auto space = line.find(' ');
        if (space == std::string::npos)
            return std::nullopt;
        const auto temporary = FromHex(std::string_view(line).substr(0, space));
        const auto target = FromHex(std::string_view(line).substr(space + 1));
        if (!temporary || !target || !IsPair(*temporary, *target))
            return std::nullopt;
        pairs.emplace_back(*temporary, *target);
    }
    return std::nullopt;
}

// The record for files, written whole and named in one step while fd holds its lock.
// Returns the locked descriptor; throws the creation error.
int WriteRecord(const std::string& folder, const std::string& record, const QString& shownName)
{
    const std::string name = folder + "/" + CommitRecordName;
    const auto fail = [&](int error) -> int {
        throw SkinError(CreateFileError(shownName, error));
    };
    std::string temporary;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return fail(errno);
        temporary = folder + "/." + CommitRecordName + ".vellumark-record";
        ::unlink(temporary.c_str());
        fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0)
            return fail(errno);
    }
    const auto failClosing = [&](int error) -> int {
        ::close(fd);
        if (!temporary.empty())
            ::unlink(temporary.c_str());
        return fail(error);
    };
    // Held until the record is removed: a recovery run meanwhile leaves it alone.
    ::flock(fd, LOCK_EX);
    if (const int error = WriteAll(fd, record))
        return failClosing(error);
    if (::fsync(fd) != 0)
        return failClosing(errno);
    int named = 0;
    if (temporary.empty()) {
        const std::string fdPath = "/proc/self/fd/" + std::to_string(fd);
        named = ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
        if (named != 0)
            named = ::linkat(AT_FDCWD, fdPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
    } else {
        named = std::rename(temporary.c_str(), name.c_str());
    }
    if (named != 0)
        return failClosing(errno);
    SyncFolder(folder);
    return fd;
}

} // namespace

void CommitTogether(const QString& folder, std::vector<ReplacementFile>& files)
{
    const std::string nativeFolder = Native(QDir::cleanPath(folder));
    std::string record = RecordHeader;
    record += '\n';
    for (auto& file : files)
        file.Finish();
    for (auto& file : files) {
        // Full paths, hex-coded: a name may hold any byte but "/" and NUL, and a
        // link's target may lie in another folder.
        record += Hex(file.Stage());
        record += ' ';
        record += Hex(file.Path());
        record += '\n';
    }
    record += RecordEnd;
    record += '\n';

    const int fd = WriteRecord(nativeFolder, record, QDir(folder).filePath(QString::fromLatin1(CommitRecordName)));
    for (auto& file : files)
        file.KeepStaged();
    try {
        for (auto& file : files)
            file.Commit();
    } catch (...) {
        ::close(fd); // the record stays: the next recovery finishes the renames
        throw;
    }
    ::unlink((nativeFolder + "/" + CommitRecordName).c_str());
    SyncFolder(nativeFolder);
    ::close(fd);
}

void FinishInterruptedCommit(const QString& folder)
{
    const std::string nativeFolder = Native(QDir::cleanPath(folder));
    if (nativeFolder.empty())
        return;
    const std::string name = nativeFolder + "/" + CommitRecordName;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd >= 0) {
        struct stat info {};
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd); // a running commit: its temporaries are its own
            return;
        }
        std::string text;
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= MaxRecordBytes) {
            text.resize(static_cast<std::size_t>(info.st_size));
            std::size_t got = 0;
            while (got < text.size()) {
                const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += static_cast<std::size_t>(n);
            }
            text.resize(got);
        }
        if (const auto pairs = ParseRecord(text)) {
            bool complete = true;
            for (const auto& [temporary, target] : *pairs) {
                struct stat staged {};
                if (::lstat(temporary.c_str(), &staged) != 0)
                    continue; // renamed before the kill
                if (!S_ISREG(staged.st_mode) || std::rename(temporary.c_str(), target.c_str()) != 0)
                    complete = false;
                else
                    SyncFolder(target.substr(0, target.rfind('/')));
            }
            SyncFolder(nativeFolder);
            if (!complete) {
                ::close(fd);
                return; // the record stays for the next try
            }
        }
        ::unlink(name.c_str());
        SyncFolder(nativeFolder);
        ::close(fd);
    } else if (errno != ENOENT) {
        // A record that cannot be opened as one (a link, a folder): not ours to trust.
        struct stat info {};
        if (::lstat(name.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            ::unlink(name.c_str());
    }

    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : names) {
        if (IsTemporaryFileName(entry) || entry == QLatin1String(".") + QLatin1String(CommitRecordName)
                                                      + QLatin1String(".vellumark-record"))
            QFile::remove(QDir(folder).filePath(entry));
    }
}
