#pragma once
// Several files of one folder replaced as one change, even when the process is
// killed between two renames. Each new file is first written whole under a
// temporary name beside its target; then a small record naming every pair
// (temporary, target) is put in the folder in one step, the renames run, and the
// record goes. Whoever finds a record left behind (FinishInterruptedCommit) does the
// renames it names: a folder holds the old files or the new ones, never a mix.
//
// The record names files by their bare names, so it is finished wherever its folder
// has been moved since, and it names only a skin's own files and their temporaries
// beside them, so a record planted by someone else can touch nothing else.
#include "ReplacementFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

// The record's name in its folder.
inline constexpr const char* CommitRecordName = ".vellumark-commit";
// Where a record that is not followed is set aside, so it neither blocks the folder
// nor is lost.
inline constexpr const char* SetAsideRecordName = ".vellumark-commit.set-aside";

// A lock on folders, held by whoever stages, finishes or cleans the files in them, so
// that two programs writing one folder take turns: an flock on each folder itself,
// which the system releases when the holder ends, however it ends. The folders are
// locked in one fixed order (a folder named twice is locked once), so two programs
// cannot wait for each other.
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

// Puts files, all with targets in folder, in place together as described above.
// The caller holds folder's FolderWriteLock from before the files were created, and
// has run FinishInterruptedCommit on it: a record left there refuses a new one.
// A failure before the record is written changes none of the targets; a failure
// after it leaves the record for FinishInterruptedCommit. Throws the writer's
// "Cannot create file ..." message.
void CommitTogether(const QString& folder, std::vector<ReplacementFile>& files, const FolderWriteLock& lock);

// Under folder's lock: finishes the change a record in folder names, if one is there,
// then removes the temporary files of a skin's files that this program leaves only
// when killed (".N.gif.vellumark-XXXXXX"). A record is followed only when it is a
// regular file of this user naming skin files and their own temporaries beside them,
// none a link; any other, and one that cannot be finished, is set aside
// (SetAsideRecordName) untouched. Returns what the user should be told of that, one
// message each; operation names what wrote the folder ("Save as", "Open"). Never
// throws; a file that cannot be removed stays for the next try.
std::vector<std::string> FinishInterruptedCommit(const QString& folder, const FolderWriteLock& lock,
                                                 const char* operation = "Save as");
