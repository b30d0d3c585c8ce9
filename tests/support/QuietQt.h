#pragma once
// Keeps Qt's harmless notes about the session (no XDG_RUNTIME_DIR, as under CI or
// as root) out of the test programs' output: the build runs each test program to
// list its tests, and a build should print nothing but real warnings.
#include <QtGlobal>
#include <QString>

inline QtMessageHandler& PreviousQtMessageHandler()
{
    static QtMessageHandler previous = nullptr;
    return previous;
}

inline void DropHarmlessQtNotes()
{
    PreviousQtMessageHandler() = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtWarningMsg
                && (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))
                    || message.startsWith(QLatin1String("QStandardPaths: runtime directory"))))
                return;
            if (PreviousQtMessageHandler() != nullptr)
                PreviousQtMessageHandler()(type, context, message);
        });
}
