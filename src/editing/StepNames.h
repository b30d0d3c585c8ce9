#pragma once
// The names the history gives its steps on lines and elements.
#include "SkinFormat.h"
#include "SkinLines.h"

#include <QString>

#include <string>

// KeyName as steps and captions show it.
QString ElementName(const std::string& key);

// The name of a step that changed key's line from before to after, as the history
// lists it: "Artist: X 88 \u2192 101", "Artist: colour", "Move Artist" (X and Y),
// "Background: W and H"; the element's name alone when nothing it shows changed.
QString ElementStepName(SkinCategory category, const std::string& key, const std::string& before,
                        const std::string& after);

// The key whose line index is (the last line of that key), or "Line N" for a line
// no key reads: the name of a step that mends a line as text.
std::string LineName(const SkinLines& lines, int index);
