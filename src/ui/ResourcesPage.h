#pragma once
// The page "Resources": the fifteen pictures of the open skin's working copy, shown
// one at a time and replaced from GIF files the user picks or drops on an entry
// (a picture of another kind is shown converted first, TPictureImportDialog),
// or edited in the desktop's program for GIF files ("Edit externally" in an
// entry's context menu). Only wiring: the files and the preview are the editing
// session's business; the view follows the session when the picture it shows
// changes (undo, redo, a change made by another program).
#include "PictureImportDialog.h"

#include <QWidget>

#include <optional>

class ChoiceList;
class DialogService;
class EditingSession;
class ErrorReporter;
class PictureView;
class QAction;
class QLabel;
class QPushButton;
class QSpinBox;

class TResourcesPage : public QWidget {
    Q_OBJECT

public:
    // Fills page, which owns it.
    TResourcesPage(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors, QWidget* page);

    // The selected entry, whose index is its picture's number; -1 when none is.
    int SelectedIndex() const;

public slots:
    void ImgListBoxClick();
    void Button1Click();
    // Opens the working copy's picture of the selected entry with the desktop's
    // program for GIF files.
    void EditExternallyClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // GIF files dropped on an entry of the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The scrolling view with the size and the zoom (1x to 8x) beneath it.
    void CreatePictureView();
    void ShowSize();
    // Shows the working copy's picture number, which must decode.
    void ShowPicture(int number);
    // Selects picture number's entry and shows the picture, or nothing when it is
    // missing or does not decode: what the session was asked to show.
    void FollowPictureRequest(int number);
    // Replaces picture number from chosen (nothing: the dialog was cancelled) as
    // "Replace from file" does.
    void ReplaceFrom(int number, const std::optional<QString>& chosen);
    // Replaces picture number from picture, read from chosen, once the author has seen
    // it converted and said OK.
    void ConvertAndReplace(int number, const QString& chosen, const QImage& picture);
    // Whether a picture may be replaced; warns when it may not.
    bool MayReplace(int number);

    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    int shown_ = -1; // the picture the view shows
    ImportChoices importChoices_;
    ChoiceList* ImgListBox = nullptr;
    QPushButton* Button1 = nullptr;
    QAction* editExternallyAction_ = nullptr;
    PictureView* ViewSources = nullptr;
    QLabel* PictureSize = nullptr;
    QSpinBox* PictureZoom = nullptr;
};
