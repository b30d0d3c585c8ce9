#pragma once
// The checker of a skin folder as it is on disk, for vellumark-skin check.
#include "SkinChecker.h"

#include <QString>

#include <string>
#include <vector>

// Every problem of the skin in folder, read in place: the description file's, then
// those of 0.gif to 14.gif in number order. Throws SkinError when folder is not a
// folder that can be read. When descriptionRead is given, it receives the bytes of the
// description file that were checked (empty when it could not be read), so whatever
// else is said of the file speaks of the same bytes.
std::vector<SkinProblem> CheckSkinFolder(const QString& folder, std::string* descriptionRead = nullptr);
