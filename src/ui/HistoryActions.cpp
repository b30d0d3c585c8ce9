#include "HistoryActions.h"

#include "EditingSession.h"
#include "ErrorReporter.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>

HistoryActions AddHistoryActions(QMenu& menu, EditingSession& session, const ErrorReporter& errors)
{
    const auto add = [&](QAction* action, const QList<QKeySequence>& keys, void (EditingSession::*step)()) {
        // The stack's own trigger would undo without the session's checks and reporting.
        QObject::disconnect(action, &QAction::triggered, &session.History(), nullptr);
        QObject::connect(action, &QAction::triggered, &menu,
                         [&session, &errors, step] { errors.Run([&] { (session.*step)(); }); });
        action->setShortcuts(keys);
        menu.addAction(action);
        return action;
    };
    HistoryActions actions;
    actions.undo = add(session.History().createUndoAction(&menu, QStringLiteral("Undo")),
                       {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &EditingSession::Undo);
    actions.redo = add(session.History().createRedoAction(&menu, QStringLiteral("Redo")),
                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                       &EditingSession::Redo);
    return actions;
}
