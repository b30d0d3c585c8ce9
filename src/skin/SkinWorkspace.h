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
    void Open(const QString& chosenFile);
    void SaveAs(const QString& chosenFile);
    void Autosave();
    // chosenFile is empty when the user cancelled the dialog.
    void ReplacePicture(int number, const std::optional<QString>& chosenFile);
    // Writes bytes as the working copy's picture number (nothing: removes the file and
    // empties its slot), then reloads as ReplacePicture does: the undo and redo of a
    // replacement.
    void WritePicture(int number, const std::optional<std::string>& bytes);
    // The working copy's picture file of that number; empty before the first Open.
    QString PictureFile(int number) const;
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

    // The working folder whose lock this workspace holds (empty before the first
    // Open that got it). The lock file is LockFileName() inside that folder.
    QString LockedFolder() const { return lockedFolder_; }
    static QString LockFileName() { return QStringLiteral(".vellumark.lock"); }

private:
    // Takes the lock of folder unless held already, and removes the temporary files
    // an earlier run left there; throws when another running copy holds it.
    void LockWorkingFolder(const QString& folder);
    // ReplacePicture's copy of chosenFile over picture file target, kept revocable
    // until the reload has accepted it.
    void ReplaceAndReload(const QString& target, const QString& chosenFile);
    // Before a picture number is put in place and the skin reloaded: refuses without
    // a working copy or for a number that is no picture, and saves the edits.
    void PrepareReload(int number);

    class FolderLock;

    SkinDocument& document_;
    FolderResolver executableFolder_;
    std::unique_ptr<FolderLock> lock_;
    QString lockedFolder_;
};
