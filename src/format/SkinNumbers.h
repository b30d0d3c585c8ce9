#pragma once
// Numbers and colours of the description file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A colour as the preview uses it: red in the lowest byte, then green, then blue.
using RgbColor = std::uint32_t;

// Reads a 32-bit signed number: optional sign, then decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X" (up to eight, taken as a bit pattern).
std::optional<std::int32_t> TryParseSkinInt(std::string_view word);

// As TryParseSkinInt; throws "'%s' is not a valid integer value".
std::int32_t ParseSkinInt(std::string_view word);

// The value of a hexadecimal digit, either case; -1 for any other character.
int HexDigit(char c);

// Red, green and blue from characters 3-8 of "0xRRGGBBAA"; black when malformed.
RgbColor HexToColor(std::string_view colorString);

// Six upper-case hexadecimal digits: red, green, blue.
std::string ColorToHex(RgbColor color);

RgbColor MakeRgb(int red, int green, int blue);
inline int RedOf(RgbColor c) { return c & 0xFF; }
inline int GreenOf(RgbColor c) { return (c >> 8) & 0xFF; }
inline int BlueOf(RgbColor c) { return (c >> 16) & 0xFF; }
