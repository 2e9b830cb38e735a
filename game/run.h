#pragma once
// What one start of the game owns, made by main and passed down: every
// routine takes the part it reads or changes.

#include <cstdint>
#include <string>

#include "console/console_io.h"
#include "data/fighter.h"
#include "persist/report_file.h"
#include "platform/file_hooks.h"
#include "platform/file_writer.h"

namespace velkor {

struct GameRun {
  // The console the run talks through, bound at start-up.
  velkor::Console Io;
  // The player's record, zero-filled at start.
  TPlayer Player{};
  // The titles won in this run, one bracketed label after another.
  std::string TitleList;
  // The random generator's state; start-up seeds it once.
  std::uint32_t RandomState = 0;
  // The report's locale, clock and last line.
  RunReport Report;
  // How save.dat and the report hand their bytes to the system.
  platform::FileWriter FileWrite = platform::SystemWrite;
  // Whom the file routines tell of each change: the host's hooks, given by
  // the program when it starts.
  platform::FileHooks Hooks = platform::NoFileHooks;
};

}  // namespace velkor
