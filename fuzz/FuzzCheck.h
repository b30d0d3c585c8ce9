#pragma once
// Invariant checks of the fuzz targets: a broken invariant aborts, which libFuzzer
// reports as a crash and saves the input.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void FuzzFailure(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : FuzzFailure(#condition, __FILE__, __LINE__))
