#pragma once
// The hunt as the game plays it at the console.

#include "game/run.h"
#include "hunt/hunt.h"

namespace velkor {

// How a run's hunt ended.
enum class RunEnd {
  Defeat,  // the run's line is in the report
  Ending,  // all twelve dead; the line is in the report
  Quit,    // the player quit at a terminal before the run ended: no line
};

// One whole run's hunt; returns when it has ended. At the Enter after
// "ゲームーオーバー……" the end of input counts as that Enter.
RunEnd Main(GameRun& run);

}  // namespace velkor
