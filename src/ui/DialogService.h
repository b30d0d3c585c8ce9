#pragma once
// Every dialog the program opens goes through this interface, so that tests can
// script the answers instead of driving real modal windows. The file and colour
// dialogs remember the last choice here, whichever implementation shows them.
#include "SkinFormat.h"

#include <QColor>
#include <QString>

#include <optional>

class QDialog;

// One file dialog of the main window: its name, its single filter entry (in Qt's
// "Name (patterns)" form) and whether it picks a file to write.
struct FileDialogSettings {
    const char* objectName;
    const char* filter;
    bool save;
};

inline constexpr FileDialogSettings OD1{"OD1", "RuvexSkins (Ruvex.rvk ruvex.rvk RUVEX.RVK)", false};
inline constexpr FileDialogSettings SD1{"SD1", "RuvexSkins (Ruvex.rvk ruvex.rvk RUVEX.RVK)", true};
inline constexpr FileDialogSettings ImgReplaceDialog{"ImgReplaceDialog", "Gif-Image (*.gif)", false};

enum class UnsavedChangesAnswer { SaveAs, Discard, Cancel };

class DialogService {
public:
    virtual ~DialogService() = default;

    // The chosen file, or nothing when the user cancelled. Each dialog starts with
    // the file chosen in it last.
    std::optional<QString> OpenSkinFile();
    // Save as starts in the folder of the last Save as, or else beside openedFolder
    // (the skin folder last opened), so the new skin lands next to it.
    std::optional<QString> SaveSkinFile(const QString& openedFolder = {});
    std::optional<QString> OpenPictureFile();
    // The colour dialog starts with the colour chosen in it last, black at first.
    std::optional<QColor> PickColor();

    virtual void ShowError(const QString& title, const QString& text) = 0;
    virtual void ShowWarning(const QString& title, const QString& text) = 0;
    // Asks what to do with changes not saved: "Save as...", "Discard" or "Cancel".
    virtual UnsavedChangesAnswer AskUnsavedChanges(const QString& text) = 0;
    // Shows a window of the program modally and returns when it is closed.
    virtual void ShowModal(QDialog& dialog) = 0;

protected:
    virtual std::optional<QString> RunFileDialog(const FileDialogSettings& settings, const QString& initialFile) = 0;
    virtual std::optional<QColor> RunColorDialog(const QColor& initial) = 0;

private:
    std::optional<QString> RunRemembering(const FileDialogSettings& settings, QString& lastFile);

    QString lastSkinFile_;
    QString lastSaveFile_ = QString::fromLatin1(DescriptionFileName);
    QString lastPictureFile_;
    bool savedOnce_ = false;
    QColor lastColor_ = Qt::black;
};
