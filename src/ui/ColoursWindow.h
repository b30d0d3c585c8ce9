#pragma once
// View › Colours: every colour the skin uses, most used first, with a swatch, its
// #RRGGBB and where it is used; "Replace with..." puts another colour in its place
// everywhere as one step. Follows the session's Changed like the other views.
#include <QWidget>

class DialogService;
class EditingSession;
class ErrorReporter;
class QPushButton;
class QTreeWidget;
struct SkinChange;

class ColoursWindow : public QWidget {
    Q_OBJECT

public:
    // A window of its own above parent.
    ColoursWindow(EditingSession& session, DialogService& dialogs, const ErrorReporter& errors, QWidget* parent);

private:
    void Refill();
    void ReplaceSelected();
    // Colours › Edition...: one step when applied.
    void MakeEdition();

    EditingSession& session_;
    DialogService& dialogs_;
    const ErrorReporter& errors_;
    QTreeWidget* list_;
    QPushButton* replace_;
};
