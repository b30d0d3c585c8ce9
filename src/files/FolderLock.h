#pragma once
// A lock on the working folder that the system releases when its process ends,
// however it ends: an flock() on a file in the folder.
#include <QByteArray>
#include <QString>

#include <memory>

class FolderLock {
public:
    enum class Outcome { Taken, HeldByAnother, Unavailable };

    // Locks file (made when missing), which lock then holds when Taken.
    static Outcome Take(const QString& file, std::unique_ptr<FolderLock>& lock);
    // Removes the file while still holding it, so no one can lock the name in between.
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    FolderLock(QByteArray file, int fd) : file_(std::move(file)), fd_(fd) {}
    QByteArray file_;
    int fd_;
};
