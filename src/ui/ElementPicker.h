#pragma once
// The element picker of the page "SkinEditing": a category list and the list of its
// elements' keys. It tells the session what the user picks and shows in its lists
// what the session has selected, as the user would pick it.
#include "EditingSession.h"

#include <QObject>
#include <QString>

#include <optional>

class ChoiceList;
class ErrorReporter;
class QComboBox;
class QWidget;

class ElementPicker : public QObject {
    Q_OBJECT

public:
    // Places the two lists on page.
    ElementPicker(EditingSession& session, const ErrorReporter& errors, QWidget* page);

    // Fills the element list with the chosen category's keys, none selected.
    void ShowCategoryNames();

    std::optional<SkinCategory> Category() const;
    // The selected row of the element list; -1 when none is.
    int SelectedItem() const;
    // The key shown in the selected row; throws the list error when none is selected.
    QString SelectedName() const;
    // The selected row's key, when one is.
    std::optional<std::string> SelectedKey() const;

signals:
    // The element list was filled afresh: no element is selected.
    void NamesShown();
    // An element was chosen in the list, or the session's selection was shown there.
    void Chosen();

private:
    void CurListChange();
    void SkinItemsClick();
    // Selects in the lists what the session has selected.
    void ShowSessionSelection();

    EditingSession& session_;
    const ErrorReporter& errors_;
    std::optional<SkinCategory> listed_; // whose keys the element list holds

    QComboBox* CurList = nullptr;
    ChoiceList* SkinItems = nullptr;
};
