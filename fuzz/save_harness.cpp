// save.dat as the game loads it. The first byte chooses how the rest is used:
// - even: the rest (up to MaxFileBytes) is the whole file; it is loaded, and
//   a new character is then saved over it, keeping a refused file;
// - odd: the next 68 bytes (zero-filled when short) are a record's fields,
//   which the harness seals, so that every field value gets past the
//   checksum; it loads exactly when a definition could have made it, and
//   the game starts with the rest of the input as the typed lines.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "console/failure.h"
#include "data/fighter.h"
#include "fuzz/fresh_run.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/game_folder.h"
#include "fuzz/require.h"
#include "fuzz/run_end.h"
#include "fuzz/typed_input.h"
#include "game/startup.h"
#include "persist/save_file.h"

namespace velkor::fuzz {

namespace {

constexpr std::size_t MaxFileBytes = 512;
constexpr std::size_t MaxReads = 2000;
constexpr std::uint32_t Seed = 1;

// A file that loads gives exactly its first 68 bytes as the record; any
// other is kept as save.dat.bad when a new character is saved, and the new
// save.dat loads.
void LoadThenSave(std::string_view file) {
  WriteFile(SaveFileName, file);
  TypedInput none("", 0);
  FreshRun fresh(none, Seed);
  Console& console = fresh.Run.Io;
  TPlayer& Player = fresh.Run.Player;
  bool loaded = false;
  Require(RunGuarded(console, [&] { loaded = LoadPlayer(console, Player); }) == 0,
          "loading save.dat raised a failure");
  if (loaded) {
    Require(file.substr(0, PlayerImageSize) == ImageBytes(Player), "the loaded record is not the file's");
    Require(CouldBeDefined(Player), "a loaded record that no definition can make");
  } else {
    // As start-up does after a refused file: a new character is defined.
    ClearPlayer(Player);
    Player.Name.Assign("Fuzz");
    Player.BaseStats = Player.CurStats = {100, 20, 20, 20};
  }
  Require(RunGuarded(console,
                     [&] { Require(SavePlayer(console, Player), "save.dat could not be written"); }) == 0,
          "saving raised a failure");

  std::string kept;
  Require(ReadFile(RefusedSaveFileName, kept) == !loaded,
          "save.dat.bad is not there exactly for a refused file");
  Require(loaded || kept == file, "save.dat.bad does not hold the refused file");
  std::string saved;
  Require(ReadFile(SaveFileName, saved) && saved == ImageBytes(Player),
          "save.dat does not hold the record saved");
  Require(LoadPlayer(console, Player), "the new save.dat does not load");
}

void PlaySealedRecord(std::string_view fields, std::string_view typed) {
  TPlayer record = FromImageBytes(fields);
  // Longer names are refused by design; every other field value is kept,
  // and the load decides.
  record.Name.Length = static_cast<std::uint8_t>(record.Name.Length % (decltype(record.Name)::Capacity + 1));
  StoreChecksum(record);
  WriteFile(SaveFileName, ImageBytes(record));

  {
    TypedInput none("", 0);
    FreshRun fresh(none, Seed);
    const bool loaded = LoadPlayer(fresh.Run.Io, fresh.Run.Player);
    Require(ImageBytes(fresh.Run.Player) == ImageBytes(record),
            "a sealed record does not reach the player as it is");
    Require(loaded == CouldBeDefined(record), "a sealed record is loaded or refused against the rules");
  }

  // Load it, and Enter after the message; then the hunt.
  TypedInput input("y\n\n" + std::string(typed), MaxReads);
  FreshRun fresh(input, Seed);
  const int status = StartUp(fresh.Run);
  // A refused record stays until the new character's save replaces it; the
  // checks of the run's end concern only a file the run wrote.
  std::string left;
  if (!CouldBeDefined(record) && ReadFile(SaveFileName, left) && left == ImageBytes(record))
    std::remove(SaveFileName);
  CheckRunEnd(status, input, fresh.Run);
}

}  // namespace

}  // namespace velkor::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velkor::fuzz;
  if (size == 0) return 0;
  EnterGameFolder();
  ClearGameFolder();
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    if (rest.size() <= MaxFileBytes) LoadThenSave(rest);
  } else {
    const std::size_t fields = std::min(rest.size(), velkor::PlayerImageSize);
    PlaySealedRecord(rest.substr(0, fields), rest.substr(fields));
  }
  return 0;
}
