#pragma once
// File › New skin…, Save as.. and Save: where a skin is written, and the questions
// before a folder is written that holds other files, or that was named by a file
// that is not the skin's. Keeps the folder Save writes into without a dialog: the
// last Save as or New skin, or else the folder the skin was opened from, which the
// first Save asks about once.
#include <QObject>
#include <QString>

class DialogService;
class EditingSession;
class RecentSkins;

class SkinSaving : public QObject {
    Q_OBJECT

public:
    SkinSaving(EditingSession& session, DialogService& dialogs, RecentSkins& recent, QObject* parent = nullptr);

    // Each throws SkinError and returns whether the skin was written.
    bool SaveAs();
    // Writes into SaveFolder(); false without one. Into the folder the skin was
    // opened from it asks once first, and may run Save as instead.
    bool Save();
    // Asks for a new or empty folder, writes the starter skin from starterFolder into
    // it and opens it.
    bool NewSkin(const QString& starterFolder);

    // Empty when Save has nowhere to write.
    const QString& SaveFolder() const { return saveFolder_; }

signals:
    void SaveFolderChanged(const QString& folder);
    // The whole skin was written into folder.
    void Saved(const QString& folder);

private:
    // Makes folder when it is missing (one level: its parent must exist), then writes
    // the skin there; a folder made for a write that failed is taken away again.
    void WriteInto(const QString& folder);
    // The question for a folder that holds files other than a skin's sixteen.
    bool MayWriteAmongOthers(const QString& folder);
    // folder, which the next Save writes without asking unless askFirst is set.
    void SetSaveFolder(const QString& folder, bool askFirst = false);

    EditingSession& session_;
    DialogService& dialogs_;
    RecentSkins& recent_;
    QString saveFolder_;
    bool askFirst_ = false; // saveFolder_ is the opened one, not yet written by a Save
};

// Makes folder, one level; false when it was there already. Throws SkinError
// ("Cannot create folder "…". No such file or directory") when it cannot.
bool MakeSkinFolder(const QString& folder);
