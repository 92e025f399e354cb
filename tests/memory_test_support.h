// Runs a piece of a test in a child process with little memory to spare, to
// show that it needs no more than that.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>
#include <functional>

// Memory beyond what the test process holds that a load may take where it
// must refuse a huge picture from its header or keep only the rows a file holds.
constexpr size_t kLoadHeadroom = size_t{32} << 20;

// Whether work returns true in a child process whose address space may grow
// by at most headroom bytes, so that whatever allocates more fails there.
// Sanitizer builds map vast shadow ranges of their own: there the child runs
// without the limit, and only work's answer counts.
inline bool TrueInLittleMemory(size_t headroom, const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
#ifndef __SANITIZE_ADDRESS__
        size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = pages * static_cast<size_t>(sysconf(_SC_PAGESIZE)) + headroom;
        const rlimit bounds{limit, limit};
        if (pages == 0 || setrlimit(RLIMIT_AS, &bounds) != 0)
            _exit(2);
#endif
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
