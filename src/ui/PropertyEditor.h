#pragma once
// The page "SkinEditing": the user picks a category and an element, sees its values
// in the controls, and every change of a control is written straight back into the
// element's line; the skin is then parsed again and the preview redrawn.
#include "LineComposer.h"

#include <QObject>
#include <QString>

#include <optional>

class ColorSwatch;
class NumberField;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;
class TMainFrm;

class PropertyEditor : public QObject {
    Q_OBJECT

public:
    // Places the controls on the window's editing page, which owns the editor.
    explicit PropertyEditor(TMainFrm& window);

    // Start-up steps of the window: they throw like its other steps.
    void PaintColorViewGrey();
    void ShowCategoryNames(); // what CurListChange does

    // These three throw; the handlers below run them through the error box.
    // Fills the controls from the selected element's line.
    void ShowItem();
    // Writes the controls back when a skin is loaded and write-back is allowed;
    // with no element selected that fails with the list error.
    void ItemEdited();
    // Rebuilds name's line from the controls, then parses and redraws.
    void StoreItem(const QString& name);

public slots:
    void CurListChange();
    void SkinItemsClick();
    void ColorViewDblClick();
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls(QWidget* page);
    void ConnectControls();
    void WriteBack(); // ItemEdited, with its error shown in the error box
    void SetVisibility(SkinCategory category);
    void ShowColor(const std::string& color);
    std::optional<SkinCategory> Category() const;
    int SelectedItem() const;
    QString SelectedName() const;
    ItemValues ControlValues(SkinCategory category) const;
    std::string ColorText() const;

    TMainFrm& window_;
    // Write-back is allowed: cleared while ShowItem fills the controls, and left
    // cleared when it fails.
    bool EditEnabled = false;
    // The entry selected when the mouse went down on the list: a click on it shows it again.
    int selectedBeforePress_ = -1;

    QComboBox* CurList = nullptr;
    QListWidget* SkinItems = nullptr;
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
