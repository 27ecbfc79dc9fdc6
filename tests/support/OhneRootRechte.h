#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace orve::test {

// Runs `arbeit` in a child process under a user whom file permissions bind
// (root switches to "nobody", uid and gid 65534), so that a folder without
// write permission really refuses writes. True when the child ran and
// `arbeit` returned true.
inline bool ohneRootRechte(const std::function<bool()>& arbeit)
{
    const pid_t kind = fork();
    if (kind < 0)
        return false;
    if (kind == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        _exit(arbeit() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(kind, &status, 0) != kind)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace orve::test
