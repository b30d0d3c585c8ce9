// The session's colour commands: recolouring as one step, a recolouring previewed,
// a colour's uses marked, and an edition written elsewhere.
#include "EditingSession.h"

#include "SkinError.h"
#include "SkinRecolouring.h"

void EditingSession::Recolour(const ColourMap& map, const QString& name)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before changing its colours");
    CommitLive(QStringLiteral("Move"));
    Commit();
    TakeOutsideChanges(); // another program's change first, as a step of its own
    RecolourEdits edits = EditsOfRecolour(document_, pictures_, map);
    if (edits.lines.empty() && edits.pictures.empty())
        return;
    Push(name, std::move(edits.lines), std::move(edits.pictures));
    errors_.ThrowKept();
}

void EditingSession::ReplaceColour(QRgb from, QRgb to)
{
    Recolour({{qRgb(qRed(from), qGreen(from), qBlue(from)), qRgb(qRed(to), qGreen(to), qBlue(to))}},
             QStringLiteral("Replace %1 with %2")
                 .arg(QString::fromLatin1(ColourName(from)), QString::fromLatin1(ColourName(to))));
}

void EditingSession::PreviewColours(std::optional<ColourMap> map)
{
    preview_.SetColourPreview(std::move(map));
    if (parseOk_ && document_.SkinLoaded)
        RedrawPreview();
    else
        preview_.UpdateMarking();
}

void EditingSession::MarkColour(std::optional<ColourUses> uses)
{
    if (preview_.Mark(std::move(uses)))
        emit MarkingChanged();
}

void EditingSession::SaveRecolouredAs(const ColourMap& map, const QString& folder)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before saving an edition of it");
    for (const std::string& notice : WriteRecolouredSkin(document_, pictures_, workspace_, map, folder))
        emit Notice(notice);
}
