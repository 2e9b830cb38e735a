#pragma once
// The hunt as the game plays it at the console.

#include "game/run.h"
#include "hunt/hunt.h"

namespace velkor {

// One whole run's hunt; returns when it has ended.
void Main(GameRun& run);

}  // namespace velkor
