#pragma once
// File › New skin: the starter skin that ships beside the executables (a
// description file and fifteen pictures in "Files/Starter/") written into a
// folder of the author's choice, new or empty of skin files.
#include <QString>

// "Files/Starter/" in the executable's folder (which ends in a separator).
QString StarterSkinFolder(const QString& executableFolder);

// Writes the sixteen files of starter into folder, making folder when it is
// missing, all or nothing, and returns the description file written there.
// Refuses a folder that already holds "Ruvex.rvk" or any of "0.gif" to "14.gif"
// (in any case of letters) before anything is read or written. Throws SkinError.
QString WriteStarterSkin(const QString& starter, const QString& folder);
