// The session's colour commands: recolouring as one step, a recolouring previewed,
// a colour's uses marked, and an edition written elsewhere.
#include "EditingSession.h"

#include "SkinError.h"
#include "SkinRecoloring.h"

void EditingSession::Recolor(const ColorMap& map, const QString& name)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before changing its colours");
    CommitLive(QStringLiteral("Move"));
    Commit();
    TakeOutsideChanges(); // another program's change first, as a step of its own
    RecolorEdits edits = EditsOfRecolor(document_, pictures_, map);
    if (edits.lines.empty() && edits.pictures.empty())
        return;
    Push(name, std::move(edits.lines), std::move(edits.pictures));
    errors_.ThrowKept();
}

void EditingSession::ReplaceColor(QRgb from, QRgb to)
{
    Recolor({{qRgb(qRed(from), qGreen(from), qBlue(from)), qRgb(qRed(to), qGreen(to), qBlue(to))}},
             QStringLiteral("Replace %1 with %2")
                 .arg(QString::fromLatin1(ColorName(from)), QString::fromLatin1(ColorName(to))));
}

void EditingSession::PreviewColors(std::optional<ColorMap> map)
{
    preview_.SetColorPreview(std::move(map));
    if (parseOk_ && document_.SkinLoaded)
        RedrawPreview();
    else
        preview_.UpdateMarking();
}

void EditingSession::MarkColor(std::optional<ColorUses> uses)
{
    if (preview_.Mark(std::move(uses)))
        emit MarkingChanged();
}

void EditingSession::SaveRecoloredAs(const ColorMap& map, const QString& folder)
{
    if (document_.SkinFileName.isEmpty())
        throw SkinError("Open a skin before saving an edition of it");
    for (const std::string& notice : WriteRecoloredSkin(document_, pictures_, workspace_, map, folder))
        emit Notice(notice);
}
