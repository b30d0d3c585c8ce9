#pragma once
// View › Sample texts: the ten texts the preview prints, in a table of what each is
// and its text, editable in place, and the four sets to start from, one click each.
// Every keystroke in a text goes to the choice at once, so the preview and every
// other view follow while the author types.
#include <QWidget>

class ErrorReporter;
class QButtonGroup;
class QTableWidget;
class SampleTextChoice;

class SampleTextsWindow : public QWidget {
    Q_OBJECT

public:
    // A window of its own above parent.
    SampleTextsWindow(SampleTextChoice& choice, const ErrorReporter& errors, QWidget* parent);

private:
    // Shows the choice's set and texts.
    void ShowChoice();

    SampleTextChoice& choice_;
    const ErrorReporter& errors_;
    QButtonGroup* sets_ = nullptr;
    QTableWidget* SampleTextTable = nullptr;
};
