#pragma once
// The File menu's commands as every way in runs them (the menu, the recent list, a
// drop, the command-line argument): Open, New skin, Save, Save as, and the question
// before a skin with changes not saved gives way. Each public command runs through
// the error reporter.
#include "RecentSkins.h"

#include <QObject>
#include <QString>

class DialogService;
class EditingSession;
class ErrorReporter;
class SkinSaving;
class QWidget;

class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors, QWidget* window);

    RecentSkins& Recent() { return recent_; }
    SkinSaving& Saving() { return *saving_; }

    // Asks for a skin in the dialog and opens it.
    void Open();
    // Opens the skin at path, its folder or its description file.
    void OpenPath(const QString& path);
    // Opens a skin of File › Open recent; one whose folder is gone leaves the list.
    void OpenRecent(const QString& file);
    void NewSkin();

    // Open as File › Open does it: a skin opened without error goes to the top of the
    // recent list. Asks first, unless asked is set, when the skin has changes not
    // saved. Throws SkinError.
    void OpenSkin(const QString& file, bool asked = false);
    // Whether the open skin may give way to another or to none: asks when it has
    // changes not saved, and runs Save or Save as when the user chooses it.
    bool MayLeaveSkin();

private:
    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    RecentSkins recent_;
    SkinSaving* saving_ = nullptr;
};
