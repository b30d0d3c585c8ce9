#include "WindowTitle.h"

#include "AboutBox.h"
#include "EditingSession.h"

#include <QFileInfo>

QString SkinWindowTitle(const EditingSession& session)
{
    const QString program = QString::fromLatin1(ProgramCaption);
    const QString folder = session.SkinFolder();
    if (folder.isEmpty())
        return program;
    QString title = QFileInfo(folder).fileName() + QStringLiteral("[*]");
    if (!session.LinesParsed())
        title += QStringLiteral(" (not drawn: a line cannot be read)");
    return title + QStringLiteral(" - ") + program;
}
