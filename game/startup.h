#pragma once

#include "game/run.h"

namespace velkor {

// The whole run of one process after the run's console is bound and its
// random source seeded: the character (loaded or defined), then the hunt.
// Returns the exit status: 0 after a normal end, 1 after a failure report.
int StartUp(GameRun& run);

}  // namespace velkor
