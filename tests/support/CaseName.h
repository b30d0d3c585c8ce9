#pragma once
// Readable names for the cases of parameterised tests (INSTANTIATE_TEST_SUITE_P's
// name generator): without one, CTest lists each case as a hex dump of its bytes.
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

// "3_Play_70_190": the case's index (which keeps names unique), then the words of
// text, letters and digits only, joined by "_"; signs that tell number cases apart
// are spelled out ("minus", "plus", "dollar"). At most about 40 characters.
inline std::string CaseName(std::size_t index, std::string_view text)
{
    std::string name = std::to_string(index);
    bool gap = true; // a "_" is due before the next word
    const auto append = [&](std::string_view word, bool wholeWord) {
        if (gap || wholeWord)
            name += '_';
        name += word;
        gap = wholeWord;
    };
    for (const char c : text) {
        if (name.size() >= 40)
            break;
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte) != 0)
            append(std::string_view(&c, 1), false);
        else if (c == '-')
            append("minus", true);
        else if (c == '+')
            append("plus", true);
        else if (c == '$')
            append("dollar", true);
        else
            gap = true;
    }
    return name;
}
