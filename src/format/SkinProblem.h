#pragma once
// A problem of a skin, as check prints it and the Problems page lists it, with the
// place a view can go to.
#include "SkinFormat.h"

#include <optional>
#include <string>

struct SkinProblem {
    std::string file; // "Ruvex.rvk" or a picture such as "7.gif"
    int line = 0;     // 1-based line of the description file; 0 when no line is meant
    std::string text; // 8-bit, as the file's own words are
    // Where the problem is, for a view that goes there: the element (empty key: none,
    // as for a line that belongs to no key), the field of its line when one field is
    // meant, or the picture number of "N.gif" (-1: none). Lines move; keys do not.
    SkinCategory category = SkinCategory::Strings;
    std::string key{};
    std::optional<FieldId> field{};
    int picture = -1;
    bool operator==(const SkinProblem&) const = default;
};

// "Ruvex.rvk:14: text", or "7.gif: text" for a problem without a line.
std::string ProblemLine(const SkinProblem& problem);
