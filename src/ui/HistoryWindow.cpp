#include "HistoryWindow.h"

#include "EditingSession.h"
#include "ErrorReporter.h"

#include <QUndoView>
#include <QVBoxLayout>

HistoryWindow::HistoryWindow(EditingSession& session, const ErrorReporter& errors, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("History"));
    auto* view = new QUndoView(&session.History(), this);
    view->setObjectName(QStringLiteral("HistoryView"));
    view->setEmptyLabel(QStringLiteral("As opened"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    resize(240, 320);

    // The view runs the steps itself. Undo() and Redo() take their own errors before
    // this is called; what is left came from a click here.
    connect(
        &session.History(), &QUndoStack::indexChanged, this,
        [&session, &errors] {
            if (const auto error = session.TakeStepError())
                errors.Report(error->c_str());
        },
        Qt::QueuedConnection);
}
