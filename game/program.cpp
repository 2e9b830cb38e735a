#include "game/program.h"

#include <iostream>
#include <memory>

#include "console/console_io.h"
#include "console/failure.h"
#include "console/terminal_console.h"
#include "game/clock_seed.h"
#include "game/run.h"
#include "game/startup.h"
#include "platform/console.h"
#include "platform/process.h"

namespace velkor {

int RunProgram(const platform::FileHooks& hooks) {
  // TERM, HUP and INT wait while a save replaces its file; the rest of the
  // process-wide settings with them.
  velkor::platform::SetUpProcess(velkor::platform::ProcessRole::Game);
  // Set up before the first byte passes.
  const velkor::platform::StandardConsole& standard = velkor::platform::OpenStandardConsole();
  // Raw bytes until the terminal is known, so that even a failure while
  // binding it is reported.
  velkor::StreamConsole raw(standard.in, standard.out);
  velkor::GameRun run;
  run.Hooks = hooks;
  run.Io.Bind(raw);
  // A terminal that does not speak code page 932 gets the text converted.
  std::unique_ptr<velkor::ConsoleDevice> console;
  const int bound = velkor::RunGuarded(run.Io, [&console, &run] {
    // Inside the guard: the streams' own buffers may be the first memory that
    // runs out, and that is reported like any other shortage.
    std::ios::sync_with_stdio(false);
    console = velkor::BindStandardConsole(run.Io);
  });
  if (bound != 0) return bound;
  run.RandomState = velkor::ClockSeed();
  return velkor::StartUp(run);
}

}  // namespace velkor
