#include "ExWord.h"

DelimiterSet MakeDelimiters(std::initializer_list<unsigned char> bytes)
{
    DelimiterSet set;
    for (unsigned char b : bytes)
        set.set(b);
    return set;
}

static bool IsDelimiter(const DelimiterSet& delimiters, char c)
{
    return delimiters.test(static_cast<unsigned char>(c));
}

std::size_t WordStart(std::size_t n, std::string_view text, const DelimiterSet& delimiters)
{
    std::size_t count = 0;
    std::size_t pos = 0; // 0-based here, reported 1-based
    const std::size_t len = text.size();
    while (pos < len && count != n) {
        while (pos < len && IsDelimiter(delimiters, text[pos]))
            ++pos;
        if (pos < len)
            ++count;
        if (count == n)
            return pos + 1;
        while (pos < len && !IsDelimiter(delimiters, text[pos]))
            ++pos;
    }
    return 0;
}

std::string WordAt(std::size_t n, std::string_view text, const DelimiterSet& delimiters)
{
    const std::size_t start = WordStart(n, text, delimiters);
    if (start == 0)
        return {};
    std::size_t end = start - 1;
    while (end < text.size() && !IsDelimiter(delimiters, text[end]))
        ++end;
    return std::string(text.substr(start - 1, end - (start - 1)));
}
