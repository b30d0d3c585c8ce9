#pragma once
// Where the skin being edited lives on disk: the working folder beside the
// executable, and the file side of Open, Save as, Autosave, Replace picture and
// the loading of the two assets. The window only hands in what the user chose.
#include "SkinDocument.h"
#include "SkinLoader.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class FolderLock;

class SkinWorkspace {
public:
    // Returns the executable's folder; resolved at each use, replaceable in tests.
    using FolderResolver = std::function<QString()>;

    explicit SkinWorkspace(SkinDocument& document, FolderResolver executableFolder = RunningExecutableFolder);
    ~SkinWorkspace();

    QString ExecutableFolder() const;
    // "Temp/" beside the executable, or in the user's data folder when that
    // cannot be written. Ends in a separator.
    QString WorkingFolder() const;

    // chosenFile is what the user picked in the dialog; only its folder is used.
    // Open is CopySkinIn, then LoadWorkingCopy.
    void Open(const QString& chosenFile);
    // Copies the skin into the working folder, all of its files or none, and names the
    // working copy in the document. Returns the pictures the skin lacks that the
    // working folder keeps from before.
    std::vector<int> CopySkinIn(const QString& chosenFile);
    // Reads the working copy into the document.
    void LoadWorkingCopy(const PictureReader& read = {});
    void SaveAs(const QString& chosenFile);
    void Autosave();
    // The working copy's picture file of that number; empty before the first Open.
    QString PictureFile(int number) const;
    // A fresh name in the working folder under which a file of picture number is kept
    // aside; such files go when the next run takes the folder.
    QString KeptFile(int number);
    // Start-up: RecoverAtStart(), then the two assets beside the executable.
    void LoadAssets();
    // Takes the working folder's lock when it is free and finishes what a run killed
    // in the middle of an Open or a Save as left half done, there and in the Save-as
    // folder. Never throws: the next Open reports what is wrong with the folder.
    void RecoverAtStart();

    // Whether Save as has something to save: an Open has set SkinFileName and a
    // description file has been read into the document (its lines are not empty, or
    // a parse has run to its end). Save as is refused while this is false.
    bool HasDescription() const;
    // Throws "Open a skin before saving it" while HasDescription() is false, so the
    // window can refuse before asking for a folder.
    void CheckCanSave() const;

    // What the last operations found and left alone that the user should be told of
    // (a commit record or note someone else planted, a write that cannot be
    // finished), one message each, oldest first; taking them empties the list.
    std::vector<std::string> TakeNotices();

    // The working folder whose lock this workspace holds (empty before the first
    // Open that got it). The lock file is LockFileName() inside that folder.
    QString LockedFolder() const { return lockedFolder_; }
    static QString LockFileName() { return QStringLiteral(".vellumark.lock"); }

private:
    // Takes the lock of folder unless held already, and removes the temporary files
    // an earlier run left there; throws when another running copy holds it.
    void LockWorkingFolder(const QString& folder);
    void Tell(std::vector<std::string> notices);

    SkinDocument& document_;
    FolderResolver executableFolder_;
    std::unique_ptr<FolderLock> lock_;
    QString lockedFolder_;
    int keptFiles_ = 0;
    // What the last CopySkinIn copied, and from where: its load errors name the
    // author's files, not the working copy's.
    QString copiedFrom_;
    QStringList copiedNames_;
    std::vector<std::string> notices_;
};

// A skin's files, each "Ruvex.rvk" or "N.gif" with its bytes.
using SkinFileSet = std::vector<std::pair<QString, std::string>>;

// Writes files into folder (a path ending in a separator) all or nothing, as Save as
// writes a skin: what a killed write left there is finished first, and every file
// goes in place together under the commit record. Returns what the user should be
// told of a record found there (FinishInterruptedCommit). Throws "Cannot create file ...".
std::vector<std::string> WriteSkinFiles(const QString& folder, const SkinFileSet& files);
