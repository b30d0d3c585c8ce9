#pragma once
// An element's values as its line holds them, and the same values moved on the
// screen. The property editor and the canvas both read and move elements here, so
// the format's rules for a move (Background's edges, the mirrored right soft label)
// are known once.
#include "LineComposer.h"
#include "SkinLines.h"

#include <string>

// The values of key's line in category: a word that cannot be read shows as 0, as
// the model reads it. Text items keep the codes of their line as they are.
ItemValues ReadElementValues(const SkinLines& lines, SkinCategory category, const std::string& key);

// values moved by (dx, dy) skin pixels, each value kept within 32 bits. Background's
// W and H are its right and bottom edges, so they move with it; the right soft label
// (mirrored) is SoftLabel drawn mirrored, so moving it right lowers X.
ItemValues MovedElementValues(SkinCategory category, const std::string& key, ItemValues values, int dx, int dy,
                              bool mirrored = false);
