#include "persist/save_file.h"

#include "console/console_io.h"
#include "platform/files.h"

namespace velkor {

namespace {

// What stands at save.dat.
enum class Found { Nothing, Unreadable, Image };

// The record of the first 68 bytes of save.dat; a shorter file cannot be
// read as a save. Opened read-only, so that a write-protected save.dat loads.
Found ReadSaveRecord(TPlayer& record) {
  std::string bytes;
  switch (platform::ReadFileStart(SaveFileName, PlayerImageSize, bytes)) {
    case platform::ReadStatus::Missing:
      return Found::Nothing;
    case platform::ReadStatus::Refused:
      return Found::Unreadable;
    case platform::ReadStatus::Read:
      break;
  }
  if (bytes.size() < PlayerImageSize) return Found::Unreadable;
  record = FromImageBytes(bytes);
  return Found::Image;
}

bool Acceptable(const TPlayer& player) {
  // Compared by its length byte as well: Text() stops at ten bytes, so a
  // length of 11 would otherwise pass with the right letters.
  const bool sealed = player.Checksum.Length == 10 && player.Checksum.Text() == CalcChecksum(player);
  // A record that no definition could have made (a name longer than the
  // record, a defence no damage gets through, points never handed out) only
  // comes from a file made outside the game; it is refused like a wrong
  // checksum, so that a battle never meets values the rules do not know.
  return sealed && CouldBeDefined(player);
}

// A save.dat that would be refused is the player's only copy of something:
// it is renamed save.dat.bad once the new save is written, just before that
// takes its place. Renamed, not copied, so that a huge file costs neither
// time nor disk. A valid file goes (the player declined it).
bool IsRefused() {
  TPlayer record{};
  const Found found = ReadSaveRecord(record);
  return found == Found::Unreadable || (found == Found::Image && !Acceptable(record));
}

}  // namespace

bool SavePlayer(Console& console, TPlayer& player, platform::FileWriter write) {
  StoreChecksum(player);
  const std::string keepOldAs = IsRefused() ? RefusedSaveFileName : "";
  if (platform::ReplaceFile(SaveFileName, ImageBytes(player), keepOldAs, write)) return true;
  console.WriteLine(SaveFailedMessage);
  return false;
}

void RemoveSaveLeftovers() { platform::RemoveStaleTemporaries(SaveFileName, PlayerImageSize); }

bool LoadPlayer(Console& console, TPlayer& record) {
  TPlayer read{};
  switch (ReadSaveRecord(read)) {
    case Found::Nothing:
      return false;
    case Found::Unreadable:
      console.WriteLine(LoadFailedMessage);
      return false;
    case Found::Image:
      break;
  }
  record = read;
  if (!Acceptable(record)) {
    console.WriteLine(BadContentMessage);
    return false;
  }
  return true;
}

}  // namespace velkor
