#pragma once
// Every dialog the program opens goes through this interface, so that tests can
// script the answers instead of driving real modal windows. The file and colour
// dialogs remember the last choice here, whichever implementation shows them.
#include "SkinFormat.h"

#include <QColor>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QDialog;

// One file dialog of the main window: its name, its single filter entry (in Qt's
// "Name (patterns)" form), whether it picks a file to write, whether it picks a
// folder instead of a file, and whether it asks before a file is replaced.
struct FileDialogSettings {
    const char* objectName;
    const char* filter;
    bool save;
    bool folder = false;
    bool confirmOverwrite = false;
    const char* note = nullptr; // shown in the dialog: what choosing does
};

inline constexpr FileDialogSettings OD1{"OD1", "RuvexSkins (Ruvex.rvk ruvex.rvk RUVEX.RVK)", false};
inline constexpr FileDialogSettings SD1{
    "SD1", "RuvexSkins (Ruvex.rvk ruvex.rvk RUVEX.RVK)", true, false, false,
    "The skin is written into the folder you choose, as Ruvex.rvk and 0.gif to 14.gif; files of those names are "
    "replaced."};
// Its filter grows at run time by every kind of picture Qt reads (PictureFileFilter).
inline constexpr FileDialogSettings ImgReplaceDialog{"ImgReplaceDialog", "Gif-Image (*.gif)", false};
inline constexpr FileDialogSettings ExportPreviewDialog{"ExportPreviewDialog", "PNG image (*.png)", true, false, true};
inline constexpr FileDialogSettings ExportSheetDialog{"ExportSheetDialog", "PNG image (*.png)", true, false, true};
inline constexpr FileDialogSettings NewSkinDialog{"NewSkinDialog", "", false, true};
inline constexpr FileDialogSettings CompareDialog{"CompareDialog", "", false, true};

enum class UnsavedChangesAnswer { Save, SaveAs, Discard, Cancel };
// The first Save into the folder a skin was opened from.
enum class OpenedFolderAnswer { Save, SaveAs, Cancel };

class DialogService {
public:
    virtual ~DialogService() = default;

    // The chosen file, or nothing when the user cancelled. Each dialog starts with
    // the file chosen in it last.
    std::optional<QString> OpenSkinFile();
    // Save as starts in the folder of the last Save as, or else beside openedFolder
    // (the skin folder last opened), so the new skin lands next to it.
    std::optional<QString> SaveSkinFile(const QString& openedFolder = {});
    // Starts in the folder of the last picture chosen, with no file selected.
    std::optional<QString> OpenPictureFile();
    // A PNG to export to: the dialog starts in the folder the last export went to, at
    // first beside skinFolder (the home folder without one), with defaultName.
    std::optional<QString> SavePngFile(const FileDialogSettings& settings, const QString& defaultName,
                                       const QString& skinFolder = {});
    // The folder for a new skin; starts in the parent of the folder chosen last.
    std::optional<QString> ChooseNewSkinFolder();
    // The skin folder to compare the open skin with; starts in the folder chosen last.
    std::optional<QString> ChooseCompareFolder();
    // The new text of line number lineNumber (1-based) of the description file, shown
    // as its bytes; nothing when cancelled.
    std::optional<std::string> EditLineText(int lineNumber, const std::string& line);
    // A whole-number scale from 1 to maximum; starts with the one chosen last (2 at
    // first), kept within maximum.
    std::optional<int> ChooseScale(const QString& title, int maximum);
    // The colour dialog starts at initial, with custom (up to 16) as its custom colours.
    std::optional<QColor> PickColor(const QColor& initial, const std::vector<QColor>& custom);

    virtual void ShowError(const QString& title, const QString& text) = 0;
    virtual void ShowWarning(const QString& title, const QString& text) = 0;
    // Asks what to do with changes not saved: "Save" (offered when offerSave is set),
    // "Save as...", "Discard" or "Cancel".
    virtual UnsavedChangesAnswer AskUnsavedChanges(const QString& text, bool offerSave) = 0;
    // Asks before Save first writes into the folder the skin was opened from: "Save",
    // "Save as..." or "Cancel".
    virtual OpenedFolderAnswer AskWriteIntoOpened(const QString& text) = 0;
    // Shows a window of the program modally and returns when it is closed.
    virtual void ShowModal(QDialog& dialog) = 0;
    // A question before something is written: true for Yes, false for No.
    virtual bool Confirm(const QString& text) = 0;

protected:
    virtual std::optional<QString> RunFileDialog(const FileDialogSettings& settings, const QString& initialFile) = 0;
    virtual std::optional<QColor> RunColorDialog(const QColor& initial, const std::vector<QColor>& custom) = 0;
    virtual std::optional<int> RunScaleDialog(const QString& title, int initial, int maximum) = 0;
    virtual std::optional<QString> RunLineDialog(const QString& title, const QString& text) = 0;

private:
    std::optional<QString> RunRemembering(const FileDialogSettings& settings, QString& lastFile);

    QString lastSkinFile_;
    QString lastSaveFile_ = QString::fromLatin1(DescriptionFileName);
    QString lastPictureFile_;
    bool savedOnce_ = false;
    QString lastPngFolder_;
    QString lastNewSkinFolder_;
    QString lastCompareFolder_;
    int lastScale_ = 2;
};
