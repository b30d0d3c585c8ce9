#pragma once
// Edit › Undo and Redo for any window that edits the skin: named after the step
// ("Undo Artist"), greyed when there is nothing to take back or repeat, with the
// editor's keys. They run the session's undo and redo through the error reporter,
// since a step reparses and redraws, which can fail.
class EditingSession;
class ErrorReporter;
class QAction;
class QMenu;

struct HistoryActions {
    QAction* undo = nullptr;
    QAction* redo = nullptr;
};

// Adds the two actions to menu, which owns them.
HistoryActions AddHistoryActions(QMenu& menu, EditingSession& session, const ErrorReporter& errors);
