#pragma once

#include "Plattform.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orve::test {

// Runs `arbeit` in a child process that file permissions bind (root becomes "nobody"); true when it returned true.
template<class Arbeit> bool ohneRootRechte(const Arbeit& arbeit)
{
#ifdef _WIN32
    static_cast<void>(arbeit); // never reached: such tests skip on Windows
    return false;
#else
    const pid_t kind = fork();
    if (kind == 0)
        _exit(geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0) ? 2 : arbeit() ? 0 : 1);
    int status = 0;
    return kind > 0 && waitpid(kind, &status, 0) == kind && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

} // namespace orve::test
