#pragma once
// The one error type of the program: a failure that carries the message the user sees.
#include <stdexcept>
#include <string>
#include <string_view>

class SkinError : public std::runtime_error {
public:
    explicit SkinError(const std::string& message) : std::runtime_error(message) {}
};

// "List index out of bounds (%d)": a line or list entry that does not exist.
[[noreturn]] void ThrowListIndexError(long long index);
std::string ListIndexErrorText(long long index);

// The text an error is shown with: the message, plus a full stop when its last byte
// sorts after "." (so "... (-1)" stays as it is).
std::string ErrorBoxText(const std::string& message);

// The system's reason for the last failed call, as strerror gives it.
std::string SystemReason(int errnum);

// The most bytes of a word or line a message quotes.
inline constexpr std::size_t MaxQuotedBytes = 80;

// text as a message quotes it: whole up to MaxQuotedBytes, else its first
// MaxQuotedBytes followed by "…", so a megabyte-long word makes a readable message.
std::string QuotedPart(std::string_view text);
