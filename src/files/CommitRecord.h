#pragma once
// Several files of one folder replaced as one change, even when the process is
// killed between two renames. Each new file is first written whole under a
// temporary name beside its target; then a small record naming every pair
// (temporary, target) is put in the folder in one step, the renames run, and the
// record goes. Whoever finds a record left behind (FinishInterruptedCommit) does the
// renames it names: a folder holds the old files or the new ones, never a mix.
#include "ReplacementFile.h"

#include <QString>

#include <vector>

// The record's name in its folder.
inline constexpr const char* CommitRecordName = ".vellumark-commit";

// Puts files, all with targets in folder, in place together as described above.
// Run FinishInterruptedCommit on folder before creating the files: a record left
// there refuses a new one.
// A failure before the record is written changes none of the targets; a failure
// after it leaves the record for FinishInterruptedCommit. Throws the writer's
// "Cannot create file ..." message.
void CommitTogether(const QString& folder, std::vector<ReplacementFile>& files);

// Finishes the change a record in folder names, if one is there and no running
// process holds it, then removes the temporary files this program leaves only
// when killed (".NAME.vellumark-XXXXXX"). A record naming anything but a skin file
// and a temporary beside it is removed unread. Never throws; what cannot be done
// stays for the next try.
void FinishInterruptedCommit(const QString& folder);
