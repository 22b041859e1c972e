// Loaded with LD_PRELOAD into the program under test: it ends its own process
// with SIGKILL at the Nth rename onto a given file name, just before or just
// after that rename, as a power cut or the OOM killer would catch a program
// in the middle of saving. Set in the environment:
//
//   KILL_AT_RENAME_NAME   the destination's last path component, e.g. tinctor.ini
//   KILL_AT_RENAME_COUNT  N, counted from 1 over the renames onto that name
//   KILL_AT_RENAME_WHEN   "before" or "after"
//
// Without all three, every rename passes through untouched.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::atomic<int> renamesSeen{0};

enum class Moment { None, Before, After };

// Whether this rename is the one to die at, and on which side of it.
Moment KillMoment(const char* destination)
{
    const char* name = std::getenv("KILL_AT_RENAME_NAME");
    const char* count = std::getenv("KILL_AT_RENAME_COUNT");
    const char* when = std::getenv("KILL_AT_RENAME_WHEN");
    if (!name || !count || !when || !destination)
        return Moment::None;
    const char* slash = std::strrchr(destination, '/');
    const char* last = slash ? slash + 1 : destination;
    if (std::strcmp(last, name) != 0)
        return Moment::None;
    if (renamesSeen.fetch_add(1) + 1 != std::atoi(count))
        return Moment::None;
    return std::strcmp(when, "after") == 0 ? Moment::After : Moment::Before;
}

void Die()
{
    ::kill(::getpid(), SIGKILL);
    ::_exit(137); // not reached
}

template <typename Function> Function Next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int rename(const char* from, const char* to)
{
    static const auto next = Next<int (*)(const char*, const char*)>("rename");
    const Moment moment = KillMoment(to);
    if (moment == Moment::Before)
        Die();
    const int result = next(from, to);
    if (moment == Moment::After)
        Die();
    return result;
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    static const auto next = Next<int (*)(int, const char*, int, const char*)>("renameat");
    const Moment moment = KillMoment(to);
    if (moment == Moment::Before)
        Die();
    const int result = next(fromDir, from, toDir, to);
    if (moment == Moment::After)
        Die();
    return result;
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags)
{
    static const auto next
        = Next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    const Moment moment = KillMoment(to);
    if (moment == Moment::Before)
        Die();
    const int result = next(fromDir, from, toDir, to, flags);
    if (moment == Moment::After)
        Die();
    return result;
}

} // extern "C"
