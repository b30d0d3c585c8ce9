#pragma once
// The page "SkinEditing": the user picks a category and an element, sees its values
// in the controls, and every change of a control is written straight back into the
// element's line through the editing session, which parses and redraws. The page
// follows the session: an element selected elsewhere, or a line changed by undo or
// a drag, shows in the controls without being written back.
#include "EditingSession.h"
#include "LineComposer.h"

#include <QObject>
#include <QString>

#include <optional>

class ChoiceList;
class ColorSwatch;
class DialogService;
class ErrorReporter;
class NumberField;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

class PropertyEditor : public QObject {
    Q_OBJECT

public:
    // Places the controls on page, which owns the editor.
    PropertyEditor(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors, QWidget* page);

    // The controls whose write-backs merge into one undo step while the user stays in one.
    enum Control { XControl, YControl, WControl, HControl, ColorControl, FontControl, StyleControl, AnchorControl };

    // Start-up steps of the window: they throw like its other steps.
    void PaintColorViewGrey();
    void ShowCategoryNames(); // what CurListChange does

    // Puts the keyboard focus on field's control, its text selected for retyping, when
    // the selected element's category shows one: where a problem of the line is.
    void FocusField(FieldId field);

    // These three throw; the handlers below run them through the error box.
    // Fills the controls from the selected element's line.
    void ShowItem();
    // Writes the controls back when a skin is loaded and write-back is allowed;
    // with no element selected that fails with the list error.
    void ItemEdited();
    // Rebuilds name's line from the controls, then parses and redraws; one undo step
    // with the write-backs before it of the same element and control.
    void StoreItem(const QString& name);

public slots:
    void CurListChange();
    void SkinItemsClick();
    void ColorViewClick();
    void ColorEditChange();

    void XEditChange();
    void XEditKeyDown();
    void XEditKeyUp();
    void YEditChange();
    void YEditKeyDown();
    void WPosChange();
    void HPosChange();
    void ColorEditKeyDown();
    void ColorEditKeyUp();
    void FontBoxChange();
    void FstyleCBChange();
    void XPosChange();
    void YPosChange();

private:
    void CreateControls(QWidget* page);
    void ConnectControls();
    void FollowSession();
    void WriteBack(Control control); // ItemEdited, with its error shown in the error box
    // Shows the element again without writing it back, when it is the one selected.
    void ShowIfSelected(const std::string& key);
    // Selects in the lists what the session has selected.
    void ShowSessionSelection();
    void SetVisibility(SkinCategory category);
    // With no element selected: every field empty and disabled, nothing written back.
    void ShowNoElement();
    void SetFieldsEnabled(bool enabled);
    void ShowColor(const std::string& color);
    std::optional<SkinCategory> Category() const;
    int SelectedItem() const;
    QString SelectedName() const;
    ItemValues ControlValues(SkinCategory category) const;
    std::string ColorText() const;

    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    // Write-back is allowed: cleared while ShowItem fills the controls, and left
    // cleared when it fails.
    bool EditEnabled = false;
    Control control_ = XControl;  // the control being written back
    bool writing_ = false;        // a write-back of this page is under way
    bool followingSession_ = false;

    QComboBox* CurList = nullptr;
    ChoiceList* SkinItems = nullptr;
    NumberField* XEdit = nullptr;
    NumberField* YEdit = nullptr;
    QLabel* WposL = nullptr;
    NumberField* WPos = nullptr;
    QLabel* HposL = nullptr;
    NumberField* HPos = nullptr;
    QGroupBox* ColorBox = nullptr;
    QLineEdit* ColorEdit = nullptr;
    ColorSwatch* ColorView = nullptr;
    QComboBox* FontBox = nullptr;
    QGroupBox* FontStylegr = nullptr;
    QComboBox* FstyleCB = nullptr;
    QGroupBox* AVHgrup = nullptr;
    QComboBox* XPos = nullptr;
    QComboBox* YPos = nullptr;
};
