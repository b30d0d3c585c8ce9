#pragma once
// Composes an element line from the editor's values and puts it in place of the
// key's line.
#include "SkinFormat.h"
#include "SkinLines.h"

#include <cstdint>
#include <string>


struct ItemValues {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t W = 0;          // objects
    std::int32_t H = 0;          // objects
    std::int32_t Anchor = 0;     // text items
    std::int32_t FontId = 0;     // text items
    std::int32_t StyleCode = 0;  // text items
    std::string Color;           // text items and objects, written as given
};

// The new line: key, one blank unless the key ends in one, "= ", then the values.
std::string ComposeItemLine(SkinCategory category, const std::string& key, const ItemValues& values);

// Replaces the last line of key. Throws the list error (and changes nothing) when
// no line belongs to key.
void StoreItemLine(SkinLines& lines, SkinCategory category, const std::string& key, const ItemValues& values);
