#include "SkinError.h"

#include <cstring>

void ThrowListIndexError(long long index)
{
    throw SkinError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string SystemReason(int errnum)
{
    return std::strerror(errnum);
}
