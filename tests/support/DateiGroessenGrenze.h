#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace orve::test {

// While it lives, no file of this process can grow beyond `bytes`: a write
// past the limit stops half-way as on a full disk, even for root.
class DateiGroessenGrenze {
public:
    explicit DateiGroessenGrenze(std::int64_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_alt);
        m_altesSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit eng = m_alt;
        eng.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &eng);
    }
    ~DateiGroessenGrenze()
    {
        setrlimit(RLIMIT_FSIZE, &m_alt);
        std::signal(SIGXFSZ, m_altesSignal);
    }
    DateiGroessenGrenze(const DateiGroessenGrenze&) = delete;
    DateiGroessenGrenze& operator=(const DateiGroessenGrenze&) = delete;

private:
    rlimit m_alt{};
    void (*m_altesSignal)(int) = SIG_DFL;
};

} // namespace orve::test
