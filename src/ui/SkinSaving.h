#pragma once
// File › New skin…, Save as.. and Save: where a skin is written, and the questions
// before a folder is written that holds other files, or that was typed as a name
// of no folder. Keeps the folder of the last successful Save as or New skin, which
// Save writes again without a dialog; an Open forgets it, since the folder a skin
// was opened from is never written.
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
    // Writes into SaveFolder(); false without one.
    bool Save();
    // Asks for a new or empty folder, writes the starter skin from starterFolder into
    // it and opens it.
    bool NewSkin(const QString& starterFolder);

    // Empty when Save has nowhere to write.
    const QString& SaveFolder() const { return saveFolder_; }

signals:
    void SaveFolderChanged(const QString& folder);

private:
    // Makes folder when it is missing (one level: its parent must exist), then writes
    // the skin there; a folder made for a write that failed is taken away again.
    void WriteInto(const QString& folder);
    // The question for a folder that holds files other than a skin's sixteen.
    bool MayWriteAmongOthers(const QString& folder);
    void SetSaveFolder(const QString& folder);

    EditingSession& session_;
    DialogService& dialogs_;
    RecentSkins& recent_;
    QString saveFolder_;
};

// Makes folder, one level; false when it was there already. Throws SkinError
// ("Cannot create folder "…". No such file or directory") when it cannot.
bool MakeSkinFolder(const QString& folder);
