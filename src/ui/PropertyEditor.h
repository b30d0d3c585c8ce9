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

class ElementPicker;
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

    // Start-up steps of the window: they throw like its other steps.
    void PaintColorViewGrey();
    void ShowCategoryNames(); // the picker lists the chosen category's keys

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
    // Shows the element chosen in the picker, without writing it back.
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
    void WriteBack(int control); // ItemEdited, with its error shown in the error box
    // Shows the element again, when it is the one selected.
    void ShowIfSelected(const std::string& key);
    // ShowItem, with write-back allowed once it succeeds.
    void ShowAllowingWriteBack();
    void SetVisibility(SkinCategory category);
    // With no element selected: every field empty and disabled, nothing written back.
    void ShowNoElement();
    void SetFieldsEnabled(bool enabled);
    void ShowColor(const std::string& color);
    ItemValues ControlValues(SkinCategory category) const;
    std::string ColorText() const;

    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    // Write-back is allowed: off while no element is shown, and after a selection
    // that failed, until one succeeds.
    bool EditEnabled = false;
    int control_ = MergeControl::X; // the control being written back; its write-backs merge
    // A write-back of this page is under way: the fields show what it wrote in the
    // user's own spelling ("+5", "", "-"), which showing the line again would rewrite.
    bool writing_ = false;

    QWidget* page_ = nullptr;
    ElementPicker* picker_ = nullptr;
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
