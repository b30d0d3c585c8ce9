// Preloaded into workspace-writer by scripts/crash-test.sh: once the writer sets
// VELLUMARK_KILL_ARMED, the process kills itself right after its Nth rename
// (N from VELLUMARK_KILL_AFTER_RENAME), so that every gap between two renames of a
// commit is hit exactly once.
#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

extern "C" int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static Rename real = nullptr;
    static long count = 0;
    if (real == nullptr)
        real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    const int result = real(from, to);
    const char* after = getenv("VELLUMARK_KILL_AFTER_RENAME");
    if (after != nullptr && getenv("VELLUMARK_KILL_ARMED") != nullptr && ++count == atol(after))
        kill(getpid(), SIGKILL);
    return result;
}
