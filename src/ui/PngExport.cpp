#include "PngExport.h"

#include "DialogService.h"
#include "EditingSession.h"
#include "SkinError.h"
#include "StatesSheet.h"

#include <functional>

namespace {

void CheckSkinOpen(const EditingSession& session)
{
    if (!session.Document().SkinLoaded)
        throw SkinError("Open a skin before exporting a picture");
}

std::optional<ExportedPng> Export(const EditingSession& session, DialogService& dialogs, const FileDialogSettings& dialog, const QString& title,
            const QString& defaultName, const std::function<QImage()>& draw)
{
    const std::optional<int> scale = dialogs.ChooseScale(title, MaxScale);
    if (!scale)
        return std::nullopt;
    const std::optional<QString> file = dialogs.SavePngFile(dialog, defaultName, session.SkinFolder());
    if (!file || file->isEmpty())
        return std::nullopt;
    const QImage scaled = ScaledImage(draw(), *scale);
    WritePng(scaled, *file);
    return ExportedPng{*file, scaled.size()};
}

} // namespace

std::optional<ExportedPng> ExportPreview(EditingSession& session, DialogService& dialogs)
{
    CheckSkinOpen(session);
    return Export(session, dialogs, ExportPreviewDialog, QStringLiteral("Export preview as PNG"), QStringLiteral("preview.png"),
           [&] { return session.Surface(); });
}

std::optional<ExportedPng> ExportAllStates(EditingSession& session, DialogService& dialogs)
{
    CheckSkinOpen(session);
    return Export(session, dialogs, ExportSheetDialog, QStringLiteral("Export all states as PNG"), QStringLiteral("sheet.png"),
           [&] { return DrawStatesSheet(session.Document(), session.SampleTexts(), session.Settings()); });
}
