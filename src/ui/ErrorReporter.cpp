#include "ErrorReporter.h"

#include "DialogService.h"
#include "SkinError.h"

#include <QCoreApplication>

QString ApplicationTitle(const QString& applicationName)
{
    const QString name = applicationName.section(QLatin1Char('.'), 0, 0);
    return name.left(1) + name.mid(1).toLower();
}

void ErrorReporter::Report(const char* message) const noexcept
{
    try {
        dialogs_.ShowError(ApplicationTitle(QCoreApplication::applicationName()),
                           QString::fromUtf8(ErrorBoxText(message)));
    } catch (...) {
        // Showing the box failed (out of memory, most likely): nothing more to do
        // that could not fail the same way.
    }
}
