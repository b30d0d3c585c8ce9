#pragma once
// The main window's title: the program alone before a skin is open; then the name of
// the skin whose lines the editor holds, "[*]" for Qt's modified mark, and a note
// while those lines cannot be read, since the preview then shows an older drawing.
#include <QString>

class EditingSession;

// "harbour2[*] (not drawn: a line cannot be read) - Vellumark v0.3".
QString SkinWindowTitle(const EditingSession& session);
