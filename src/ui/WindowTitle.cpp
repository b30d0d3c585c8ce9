#include "WindowTitle.h"

#include "AboutBox.h"
#include "EditingSession.h"
#include "SkinError.h"
#include "SkinModel.h"

#include <QFileInfo>

namespace {

bool LinesReadable(const SkinLines& lines)
{
    // A parse of its own: the session's model keeps what the last good parse read.
    TSkinModel scratch;
    try {
        ParseSkinInto(lines, scratch);
    } catch (const SkinError&) {
        return false;
    }
    return true;
}

} // namespace

QString SkinWindowTitle(const EditingSession& session)
{
    const QString program = QString::fromLatin1(ProgramCaption);
    const QString folder = session.SkinFolder();
    if (folder.isEmpty())
        return program;
    QString title = QFileInfo(folder).fileName() + QStringLiteral("[*]");
    if (!LinesReadable(session.Document().Lines))
        title += QStringLiteral(" (not drawn: a line cannot be read)");
    return title + QStringLiteral(" - ") + program;
}
