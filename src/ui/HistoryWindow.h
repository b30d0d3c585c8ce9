#pragma once
// View › History: Qt's own view of the session's undo history, one row per step and
// "As opened" above them; a click goes to that state, undoing or redoing the steps
// in between. A step that fails there is reported as an Undo would report it.
#include <QWidget>

class EditingSession;
class ErrorReporter;

class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    // A window of its own above parent.
    HistoryWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent);
};
