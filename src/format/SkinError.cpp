#include "SkinError.h"

#include <cstring>

std::string ListIndexErrorText(long long index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

void ThrowListIndexError(long long index)
{
    throw SkinError(ListIndexErrorText(index));
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

std::string SystemReason(int errnum)
{
    return std::strerror(errnum);
}

std::string QuotedPart(std::string_view text)
{
    if (text.size() <= MaxQuotedBytes)
        return std::string(text);
    std::string part(text.substr(0, MaxQuotedBytes));
    part += "\xE2\x80\xA6"; // "…"
    return part;
}
