#pragma once

namespace orve {

// For tests only: forgets the exit code a ProgramEnd asked for in a window
// command (befehlAusfuehren), so that each test starts as a fresh program.
void programmEndeZuruecksetzen();

} // namespace orve
