#pragma once
// A lock on folders, held by whoever stages, finishes or cleans the files in them, so
// that two programs writing one folder take turns: an flock on each folder itself,
// which the system releases when the holder ends, however it ends. The folders are
// locked in one fixed order (a folder named twice is locked once), so two programs
// cannot wait for each other.
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class FolderWriteLock {
public:
    // Waits a few seconds while another program holds one of them, then throws
    // ""…/D" is being written by another program. Try again when it is done". A
    // folder that cannot be locked at all (not there, a file system without locks)
    // is left unlocked: its writes then fail or succeed on their own.
    explicit FolderWriteLock(const QStringList& folders);
    // Takes the locks only when all are free at once; Held() tells whether it did.
    static FolderWriteLock TryTake(const QStringList& folders);
    FolderWriteLock(FolderWriteLock&& other) noexcept;
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(FolderWriteLock&&) = delete;
    ~FolderWriteLock();

    bool Held() const { return held_; }

private:
    FolderWriteLock() = default;
    // The folder another program holds, when the locks could not all be taken.
    std::optional<QString> Take(const QStringList& folders, bool wait);
    void Release();

    std::vector<int> fds_;
    bool held_ = false;
};
