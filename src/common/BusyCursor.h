#pragma once

namespace orve {

// Shows the hourglass (busy) pointer for as long as it lives. Does nothing
// when the process runs without a GUI application (tests, tools).
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active = false;
};

} // namespace orve
