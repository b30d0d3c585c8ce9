#pragma once
// The new version of a file, written beside it and put in place whole. The bytes go
// to a file without a name in the target's folder (O_TMPFILE), so a crash before
// the commit leaves nothing behind; only the commit gives it a name, for as long as
// it takes to rename it over the target. Where the file system has no unnamed files,
// a hidden temporary name beside the target is used from the start.
//
// Every failure throws "Cannot create file "%s". %s" with the target's full path
// and the system's reason ("Permission denied", "No space left on device", "File
// too large"...), and leaves the target as it was.
//
// A target that is a symbolic link is replaced by the new file (LinkPolicy::Replace:
// the skin's own files, which must not reach out of their folder), or written
// through (LinkPolicy::WriteThrough: a file the user named for output, such as a
// PNG): then the file the chain of links ends at is replaced, beside itself, the
// link stays, and a pipe, a device or a socket there is refused ("It is a named
// pipe, not a regular file") instead of being replaced. A link that leads nowhere is
// refused, and so is one the system would not follow: in a shared folder (sticky and
// writable by all) a link neither the user's own nor the folder owner's.
#include <QString>

#include <string>
#include <string_view>
#include <sys/types.h>

enum class LinkPolicy { Replace, WriteThrough };

class ReplacementFile {
public:
    // Creates the unnamed file in target's folder. An existing target this process
    // may not write is refused ("Permission denied"). A replaced regular file's
    // permissions pass to the new one; a new file gets newFileMode, or 0666 less
    // the umask when it is negative.
    explicit ReplacementFile(const QString& target, int newFileMode = -1, LinkPolicy links = LinkPolicy::Replace);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ReplacementFile(ReplacementFile&& other) noexcept;
    ReplacementFile& operator=(ReplacementFile&&) = delete;
    // Discards the new bytes unless committed.
    ~ReplacementFile();

    const QString& Target() const { return target_; }
    // The file really replaced, native: Target() or, written through a symbolic
    // link, the file its chain of links ends at.
    const std::string& Path() const { return path_; }

    void Write(std::string_view bytes);
    // Sets the permissions and flushes the bytes to disk: after this only the
    // rename in Commit() is left to fail.
    void Finish();
    // Finish() unless done, then gives the new file its temporary name beside the
    // target (".NAME.vellumark-XXXXXX") and returns that name, full path.
    const std::string& Stage();
    // From now on the staged file outlives this object: a commit record names it, and
    // whoever finds the record finishes the rename.
    void KeepStaged() { keepStaged_ = true; }
    // Stage() unless done, then puts the new file in place of the target.
    void Commit();

private:
    [[noreturn]] void Fail(int errnum) const;
    void Discard();

    QString target_;
    std::string path_;
    std::string temporaryName_; // named temporary file; empty while it has no name
    int fd_ = -1;
    mode_t mode_ = 0;
    bool setMode_ = false;
    bool finished_ = false;
    bool keepStaged_ = false;
};

// Writes the whole file or, on any failure, leaves the old one; throws as above.
void WriteFileReplacing(const QString& path, std::string_view bytes, LinkPolicy links = LinkPolicy::Replace);

// Writes all of bytes to fd, again after an interruption; 0, or the failure's errno
// (ENOSPC when the system takes nothing).
int WriteAll(int fd, std::string_view bytes);

// "Cannot create file "%s". %s" for path with the system's reason.
std::string CreateFileError(const QString& path, int errnum);

// Whether name is one this program gives its temporary files (".N.gif.vellumark-XXXXXX"),
// left behind only by a crash between naming one and renaming it.
bool IsTemporaryFileName(const QString& name);
