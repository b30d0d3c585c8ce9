#pragma once
// File › Export preview as PNG… and File › Export all states as PNG…: the current
// preview, or the sheet of all ten states, enlarged by a whole-number scale the
// user picks and written as one PNG, whole or not at all.
class DialogService;
class EditingSession;

// Asks for the scale, then the file; cancelling either writes nothing. Throws
// SkinError ("Cannot create file ..." when the PNG cannot be written, the file
// then left as it was).
void ExportPreview(EditingSession& session, DialogService& dialogs);
void ExportAllStates(EditingSession& session, DialogService& dialogs);
