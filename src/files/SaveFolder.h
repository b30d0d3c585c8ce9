#pragma once
// Where Save as and New skin write a skin: the folder a chosen name stands for,
// the files already there, and the folder made for it when it is missing.
#include <QString>

// What a name chosen in the Save-as dialog stands for.
struct SaveAsTarget {
    QString folder;
    // The name is another file than a skin's description: its whole folder would
    // take the skin, so the user is asked first.
    bool besideOtherFile = false;
};

// A folder is itself; a new name is a folder made for the skin (as New skin does);
// the description file or any other existing file stands for its folder.
SaveAsTarget SaveAsTargetOf(const QString& chosen);

// How many entries of folder are not one of a skin's sixteen files; 0 when folder
// is not a folder.
qsizetype OtherEntriesIn(const QString& folder);

// Makes folder, one level; false when it was there already. Throws SkinError
// ("Cannot create folder "…". No such file or directory") when it cannot.
bool MakeSkinFolder(const QString& folder);
