#pragma once
// What the description-file fuzz targets share: the 23 keys, the property editor's
// view of an element, and the checks of a stored line.
#include "FuzzCheck.h"

#include "LineComposer.h"
#include "SkinError.h"
#include "SkinLines.h"
#include "SkinModel.h"
#include "TextLines.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline const std::vector<std::string>& FuzzKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> all(TextItemKeys.begin(), TextItemKeys.end());
        all.insert(all.end(), PictureKeys.begin(), PictureKeys.end());
        all.insert(all.end(), ObjectKeys.begin(), ObjectKeys.end());
        all.emplace_back(StatusLineKey);
        return all;
    }();
    return keys;
}

inline bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

inline bool HasDelimiter(std::string_view word)
{
    for (char c : word) {
        if (SkinDelimiters().test(static_cast<unsigned char>(c)))
            return true;
    }
    return false;
}

// A file that is written and read again gives the same lines.
inline void CheckLines(const TextLines& lines)
{
    for (const auto& line : lines)
        FUZZ_REQUIRE(!HasLineBreakOrNul(line));
    FUZZ_REQUIRE(SplitTextLines(JoinTextLines(lines)) == lines);
}

inline std::vector<int> FoundLines(const SkinLines& lines)
{
    std::vector<int> found;
    for (const auto& key : FuzzKeys())
        found.push_back(lines.FindKey(key));
    return found;
}

// The input's first bytes pick what to do; the rest is the file.
struct FuzzInput {
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : bytes(reinterpret_cast<const char*>(data), size)
    {
    }
    // The next choice byte (0 once the input is used up).
    unsigned char Take()
    {
        if (bytes.empty())
            return 0;
        const auto c = static_cast<unsigned char>(bytes.front());
        bytes.remove_prefix(1);
        return c;
    }
    std::string_view bytes;
};
