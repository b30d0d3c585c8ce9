#pragma once
// What a run killed in the middle of an Open or a Save as leaves behind, and how the
// next run that takes the working folder finishes or cleans it.
#include <QString>

#include <string>
#include <vector>

// Removes the stray files of an earlier run that ended in the middle of a write:
// temporary files named for a rename and the files the editor keeps aside while it
// runs (".kept-*"). Only when the lock is first taken: while a session runs, its
// kept files are its own.
void RemoveStrayTemporaries(const QString& folder);

// Finishes what an Open or a Save as killed in the middle left in the working
// folder and in the Save-as folder its note names; returns what the user should be
// told. A folder another program is writing is left to it.
std::vector<std::string> FinishInterruptedWrites(const QString& working);

// A note in the working folder naming the Save-as folder whose files are being put
// in place, for as long as a Save as may leave files there, so that a start after a
// kill finishes that folder too. A note that cannot be written only leaves the
// finishing of a killed Save as to the next one into that folder.
class SavingNoteGuard {
public:
    SavingNoteGuard(const QString& working, const QString& destination);
    SavingNoteGuard(const SavingNoteGuard&) = delete;
    SavingNoteGuard& operator=(const SavingNoteGuard&) = delete;
    ~SavingNoteGuard();

private:
    QString note_;
};
