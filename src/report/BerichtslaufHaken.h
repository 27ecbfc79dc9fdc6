#pragma once

#include <functional>

namespace orve {

// Test only: `haken` runs in every report run of this process after the
// pricing and before the report's data are read, while the run holds the
// program folder's lock (the moment a second run used to replace the calls).
// An empty function removes it.
void berichtslaufHakenSetzen(std::function<void()> haken);

} // namespace orve
