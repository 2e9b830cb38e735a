// A scenario file of any content played with any player name. The first byte
// is the length of the name that follows it; the second, how many times the
// player presses Enter before typing a line (which turns the pauses off);
// the rest is the file, played through the game's own reading of it.
#include <algorithm>
#include <string>
#include <string_view>

#include "console/failure.h"
#include "console/scenario.h"
#include "fuzz/fresh_run.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/game_folder.h"
#include "fuzz/require.h"
#include "fuzz/typed_input.h"

namespace velkor::fuzz {

namespace {

constexpr const char* FileName = "story.dat";
// Enough for every pause of a file a fuzzer makes.
constexpr std::size_t MaxReads = 100000;
constexpr std::uint32_t Seed = 1;

void Play(std::string_view name, std::size_t enters, std::string_view file) {
  WriteFile(FileName, file);
  // The output is the file's text unscrambled: it could show anything.
  TypedInput input(std::string(enters, '\n') + "x\n", MaxReads, false);
  FreshRun fresh(input, Seed);
  Console& console = fresh.Run.Io;
  const int status = RunGuarded(console, [&console, name] { PlayScenario(console, FileName, name); });
  Require(status == 0 || input.Ended() || file.size() > ScenarioFileLimit,
          "playback failed while there was input left");
}

}  // namespace

}  // namespace velkor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velkor::fuzz;
  if (size < 2) return 0;
  EnterGameFolder();
  ClearGameFolder();
  const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::string_view name = rest.substr(0, std::min<std::size_t>(data[0], rest.size()));
  Play(name, data[1], rest.substr(name.size()));
  return 0;
}
