#pragma once
// Word functions over 8-bit text with a caller-given delimiter set.
// Positions are 1-based; 0 means "no such word".
#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

using DelimiterSet = std::bitset<256>;

DelimiterSet MakeDelimiters(std::initializer_list<unsigned char> bytes);

std::size_t WordStart(std::size_t n, std::string_view text, const DelimiterSet& delimiters);
std::string WordAt(std::size_t n, std::string_view text, const DelimiterSet& delimiters);
