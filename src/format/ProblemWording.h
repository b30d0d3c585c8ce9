#pragma once
// The words the checker's messages are made of.
#include "SkinProblem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A word or line of the file in double quotes, up to MaxQuotedBytes (QuotedPart).
std::string Quote(std::string_view text);
std::string Str(std::int64_t value);
// "the 176x220 screen".
std::string TheScreen();
// "(x, y)".
std::string Point(std::int64_t x, std::int64_t y);
// "a", "a and b", "a, b and c".
std::string JoinNames(const std::vector<std::string>& names);
// "3, 6, ..., 72": the anchors the phone knows.
std::string AnchorList();
// "1 to 10 and 12 to 14": the font ids that have a size (FontIdHasSize).
std::string FontIdList();
// "255 (plain), 1 (italic), 2 (bold) or 3 (bold italic)".
std::string StyleList();
