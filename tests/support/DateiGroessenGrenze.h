#pragma once

#include "Plattform.h"

#ifdef _WIN32
namespace orve::test {
// Windows has no file size limit: the tests that need it skip there.
class DateiGroessenGrenze {
public:
    explicit DateiGroessenGrenze(long long) {}
};
} // namespace orve::test
#else
#include <sys/resource.h>

#include <csignal>

namespace orve::test {

// While it lives, no file of this process can grow beyond `bytes`: a write
// past the limit stops half-way as on a full disk, even for root.
class DateiGroessenGrenze {
public:
    explicit DateiGroessenGrenze(long long bytes) : m_altesSignal(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_alt);
        const rlimit eng {.rlim_cur = static_cast<rlim_t>(bytes), .rlim_max = m_alt.rlim_max};
        setrlimit(RLIMIT_FSIZE, &eng);
    }
    ~DateiGroessenGrenze()
    {
        setrlimit(RLIMIT_FSIZE, &m_alt);
        std::signal(SIGXFSZ, m_altesSignal);
    }
    DateiGroessenGrenze(const DateiGroessenGrenze&) = delete;

private:
    rlimit m_alt {};
    void (*m_altesSignal)(int);
};

} // namespace orve::test
#endif
