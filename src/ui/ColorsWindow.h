#pragma once
// View › Colours: every colour the skin uses, most used first, with a swatch, its
// #RRGGBB and where it is used; "Replace with..." puts another colour in its place
// everywhere as one step. The selected row's uses are marked on the preview and the
// canvas while the window shows. Follows the session's Changed like the other views.
#include "SkinColors.h"

#include <QWidget>

#include <vector>

class DialogService;
class EditingSession;
class ErrorReporter;
class QPushButton;
class QTreeWidget;
struct SkinChange;

class ColorsWindow : public QWidget {
    Q_OBJECT

public:
    // A window of its own above parent.
    ColorsWindow(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Refill();
    // Marks the selected row's colour, or nothing without one.
    void MarkSelected();
    void ReplaceSelected();
    // Colours › Edition...: one step when applied.
    void MakeEdition();

    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    QTreeWidget* list_;
    QPushButton* replace_;
    std::vector<PaletteRow> rows_; // as listed
};
