#pragma once
// A line the parse cannot read (a word that is no number) cannot be edited through
// its element's fields, which read it first: it is opened as text instead, in a
// one-line editor, and the text written back replaces it as one undo step.
#include "SkinChecker.h"

class DialogService;
class EditingSession;
class SkinLines;

// Whether problem's line is better mended as text: a line of no element, or one whose
// element cannot be read from the lines.
bool NeedsMendingAsText(const SkinLines& lines, const SkinProblem& problem);

// Opens line index (0-based) as text; nothing changes when the editor is cancelled.
// Throws SkinError, the parse's included, as an edit does.
void MendLineAsText(EditingSession& session, DialogService& dialogs, int index);

// Edit › Edit line as text…: the selected element's line.
void MendSelectedLine(EditingSession& session, DialogService& dialogs);
