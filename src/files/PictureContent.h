#pragma once
// What a picture file of the working copy holds, as the editing session keeps it:
// its bytes, no file at all, or a file the programs cannot read (over the size
// limit, a pipe...). Such a file is kept aside under another name in the same
// folder, unread, so that it can be put back exactly as it was.
#include <QString>

#include <memory>
#include <string>
#include <sys/types.h>

struct PictureContent {
    enum class Kind { Absent, Bytes, Unreadable };
    Kind kind = Kind::Absent;
    std::shared_ptr<const std::string> bytes; // Bytes: shared, never changed
    QString kept;                             // Unreadable: the file kept aside; empty when it could not be kept
    std::string reason;                       // Unreadable: why it cannot be read

    static PictureContent Of(std::string bytes);
};

// Whether a and b are the same file content (kept files: the same file).
bool SamePicture(const PictureContent& a, const PictureContent& b);

// Reads file as it is now. An unreadable file is kept aside as keepAs (a hard link,
// so nothing is read or written) when keepAs is not empty.
PictureContent ReadPictureContent(const QString& file, const QString& keepAs = {});

// Makes file hold content, each time whole: written atomically, removed, or the kept
// file linked back in place. Throws "Cannot create file ..." and leaves file as it
// was. A kept file that could not be kept leaves file alone.
void PutPictureContent(const QString& file, const PictureContent& content);

// What a cheap look at a file tells: when the stamp is unchanged, so is the file.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const QString& file);
