#pragma once
// File › Export preview as PNG… and File › Export all states as PNG…: the current
// preview, or the sheet of all ten states, enlarged by a whole-number scale the
// user picks and written as one PNG, whole or not at all.
#include <QSize>
#include <QString>

#include <optional>

class DialogService;
class EditingSession;

// A PNG written, and its size in pixels.
struct ExportedPng {
    QString file;
    QSize size;
};

// Asks for the scale, then the file; cancelling either writes nothing (and gives
// nothing). Throws SkinError ("Cannot create file ..." when the PNG cannot be
// written, the file then left as it was).
std::optional<ExportedPng> ExportPreview(EditingSession& session, DialogService& dialogs);
std::optional<ExportedPng> ExportAllStates(EditingSession& session, DialogService& dialogs);
