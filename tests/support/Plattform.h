#pragma once

#include <gtest/gtest.h>

// Ends a test, as skipped with its reason, where it needs what Windows lacks:
// running as another user, a file size limit, a FIFO, /dev/full.
#ifdef _WIN32
#define ORVE_NUR_POSIX(grund) GTEST_SKIP() << "Unter Windows nicht prüfbar: " << (grund)
#else
#define ORVE_NUR_POSIX(grund) static_cast<void>(0)
#endif

#ifdef _WIN32
#include <fcntl.h>
// Never called on Windows, where the tests that need a FIFO skip first.
inline int mkfifo(const char*, int)
{
    return -1;
}
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#endif
