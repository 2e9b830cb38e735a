#pragma once
// What every run of the game leaves behind, however its input went.

#include "fuzz/typed_input.h"
#include "game/run.h"

namespace velkor::fuzz {

// Checks a run that StartUp ended with status, in the game folder:
// - it ended normally (0), or through the failure report (1) only because
//   the input ran out;
// - a normal end leaves exactly one line in the report, and a run broken
//   off after its report line (at the last Enter) no more than that one;
// - a save.dat that is there loads, and a normal end leaves one.
// Unbinds run's console, and loads into its record.
void CheckRunEnd(int status, const TypedInput& input, GameRun& run);

}  // namespace velkor::fuzz
