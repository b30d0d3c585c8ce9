#include "SkinNumbers.h"

#include "SkinError.h"

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> TryParseSkinInt(std::string_view word)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) {
        negative = word[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < word.size() && (word[i] == '$' || word[i] == 'x' || word[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < word.size() && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= word.size())
        return std::nullopt;

    std::uint64_t value = 0;
    for (; i < word.size(); ++i) {
        const int d = hex ? HexDigit(word[i]) : (word[i] >= '0' && word[i] <= '9' ? word[i] - '0' : -1);
        if (d < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<unsigned>(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (hex) {
        // A bit pattern: eight F digits are -1.
        const auto pattern = static_cast<std::uint32_t>(value);
        const std::uint32_t result = negative ? 0u - pattern : pattern;
        return static_cast<std::int32_t>(result);
    }
    if (negative) {
        if (value > 2147483648ull)
            return std::nullopt;
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(value));
    }
    if (value > 2147483647ull)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseSkinInt(std::string_view word)
{
    if (auto v = TryParseSkinInt(word))
        return *v;
    throw SkinError("'" + QuotedPart(word) + "' is not a valid integer value");
}

RgbColor HexToColor(std::string_view s)
{
    if (s.size() < 8)
        return 0;
    int channel[3];
    for (int k = 0; k < 3; ++k) {
        const int hi = HexDigit(s[2 + 2 * k]);
        const int lo = HexDigit(s[3 + 2 * k]);
        if (hi < 0 || lo < 0)
            return 0;
        channel[k] = hi * 16 + lo;
    }
    return MakeRgb(channel[0], channel[1], channel[2]);
}

std::string ColorToHex(RgbColor color)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (int v : {RedOf(color), GreenOf(color), BlueOf(color)}) {
        out += digits[v >> 4];
        out += digits[v & 0xF];
    }
    return out;
}

RgbColor MakeRgb(int red, int green, int blue)
{
    return static_cast<RgbColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
