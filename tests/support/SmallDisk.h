#pragma once
// A folder on a file system of its own with little room, to fill a disk for real:
// a tmpfs mounted for the test where the test may mount one (root with the
// capability, as CI runs). Where it cannot, Mounted() is false and a test falls
// back to a file-size limit (ChildOptions::fileSizeLimit).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <string>
#include <sys/mount.h>

class SmallDisk {
public:
    // Mounts a tmpfs of bytes (rounded up to whole pages) on folder, which must exist.
    SmallDisk(const QString& folder, std::size_t bytes) : folder_(QFile::encodeName(folder))
    {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }

    bool Mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};
