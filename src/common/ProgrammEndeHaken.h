#pragma once

namespace orve {

// For tests only: forgets the exit code a ProgramEnd asked for in a window
// command (befehlAusfuehren), and lets event loops run again after the exit
// it asked for, so that each test starts as a fresh program.
void programmEndeZuruecksetzen();

} // namespace orve
