#pragma once
// The checker of a skin folder as it is on disk, for vellumark-skin check.
#include "SkinChecker.h"

#include <QString>

#include <vector>

// Every problem of the skin in folder, read in place: the description file's, then
// those of 0.gif to 14.gif in number order. Throws SkinError when folder is not a
// folder that can be read.
std::vector<SkinProblem> CheckSkinFolder(const QString& folder);
