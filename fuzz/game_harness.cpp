// The whole game, from start-up to its end, in a folder with the game's dat/
// and nothing else: the input is what the player types, line by line.
#include <string>
#include <string_view>

#include "data/fighter.h"
#include "data/tables.h"
#include "fuzz/fresh_run.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/game_folder.h"
#include "fuzz/require.h"
#include "fuzz/run_end.h"
#include "fuzz/typed_input.h"
#include "game/startup.h"
#include "opening/definition.h"
#include "persist/save_file.h"

namespace velkor::fuzz {

namespace {

// A whole run that is lost at once takes a few dozen lines, one that wins
// every battle well over a thousand.
constexpr std::size_t MaxReads = 4000;
constexpr std::uint32_t Seed = 1;

// The character the definition saved: a name that fits, current stats equal
// to the base ones, and no more bought than the pool holds.
void CheckDefinition() {
  std::string bytes;
  if (!ReadFile(SaveFileName, bytes)) return;
  Require(bytes.size() == PlayerImageSize, "save.dat is not one record");
  Require(CouldBeDefined(FromImageBytes(bytes)), "the definition saved a record no definition can make");
}

}  // namespace

}  // namespace velkor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velkor::fuzz;
  EnterGameFolder();
  ClearGameFolder();
  TypedInput input(std::string_view(reinterpret_cast<const char*>(data), size), MaxReads);
  FreshRun fresh(input, Seed);
  CheckRunEnd(velkor::StartUp(fresh.Run), input, fresh.Run);
  CheckDefinition();
  return 0;
}
