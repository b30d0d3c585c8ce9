#include "ProblemWording.h"

#include "SkinError.h"
#include "SkinFormat.h"

#include <algorithm>
#include <cctype>

std::string ProblemLine(const SkinProblem& problem)
{
    return problem.file + (problem.line > 0 ? ':' + std::to_string(problem.line) : std::string()) + ": " + problem.text;
}

// Quote and Point append piece by piece: g++ 12 at -O3 warns falsely (-Wrestrict)
// on a literal + a temporary string.
std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    quoted += QuotedPart(text);
    quoted += '"';
    return quoted;
}

std::string Str(std::int64_t value)
{
    return std::to_string(value);
}

std::string TheScreen()
{
    return "the " + Str(ScreenWidth) + "x" + Str(ScreenHeight) + " screen";
}

std::string Point(std::int64_t x, std::int64_t y)
{
    std::string point = "(";
    point += Str(x);
    point += ", ";
    point += Str(y);
    point += ')';
    return point;
}

// "a", "a and b", "a, b and c".
std::string JoinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? " and " : ", ";
        out += names[i];
    }
    return out;
}

// "3, 6, ..., 72": the anchors the phone knows, for a message.
std::string AnchorList()
{
    std::string list;
    for (const std::int32_t anchor : TextAnchors)
        list += (list.empty() ? "" : ", ") + std::to_string(anchor);
    return list;
}

// "255 (plain), 1 (italic), 2 (bold) or 3 (bold italic)", for a message.
std::string StyleList()
{
    std::string list;
    for (std::size_t i = 0; i < TextStyles.size(); ++i) {
        std::string name = TextStyles[i].name;
        std::transform(name.begin(), name.end(), name.begin(), [](char c) {
            return c == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        });
        list += (i == 0 ? "" : i + 1 == TextStyles.size() ? " or " : ", ") + std::to_string(TextStyles[i].code) + " ("
                + name + ")";
    }
    return list;
}

std::string FontIdList()
{
    // The phone's font table has a few dozen entries at most.
    constexpr std::int32_t LastTried = 255;
    std::vector<std::string> ranges;
    for (std::int32_t id = 0; id <= LastTried; ++id) {
        if (!FontIdHasSize(id))
            continue;
        std::int32_t last = id;
        while (last < LastTried && FontIdHasSize(last + 1))
            ++last;
        ranges.push_back(last == id ? Str(id) : Str(id) + " to " + Str(last));
        id = last;
    }
    return JoinNames(ranges);
}
