#pragma once

#include <functional>

namespace orve {

// Test only: `haken` runs in every import of tariff tables of this process
// after the tables were replaced and before that is committed (the moment
// a killed import must leave the old tables). An empty function removes it.
void tarifimportHakenSetzen(std::function<void()> haken);

} // namespace orve
