#include "persist/save_file.h"

#include "console/console_io.h"
#include "platform/files.h"

namespace velkor {

namespace {

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

// The verdict on save.dat; whenever a whole record was read, record holds
// it, refused or not. A file shorter than a record cannot be read as a save.
// Opened read-only, so that a write-protected save.dat loads.
SaveVerdict ReadAndJudge(TPlayer& record) {
  std::string bytes;
  switch (platform::ReadFileStart(SaveFileName, PlayerImageSize, bytes)) {
    case platform::ReadStatus::Missing:
      return SaveVerdict::Missing;
    case platform::ReadStatus::Refused:
      return SaveVerdict::Unreadable;
    case platform::ReadStatus::Read:
      break;
  }
  if (bytes.size() < PlayerImageSize) return SaveVerdict::Unreadable;
  record = FromImageBytes(bytes);
  return Acceptable(record) ? SaveVerdict::Loads : SaveVerdict::BadContent;
}

// A save.dat that would be refused is the player's only copy of something:
// it is renamed save.dat.bad once the new save is written, just before that
// takes its place. Renamed, not copied, so that a huge file costs neither
// time nor disk. A valid file goes (the player declined it).
bool IsRefused() {
  const SaveVerdict verdict = JudgeSaveFile();
  return verdict == SaveVerdict::Unreadable || verdict == SaveVerdict::BadContent;
}

}  // namespace

bool SavePlayer(Console& console, TPlayer& player, platform::FileWriter write,
                const platform::FileHooks& hooks) {
  StoreChecksum(player);
  const std::string keepOldAs = IsRefused() ? RefusedSaveFileName : "";
  if (platform::ReplaceFile(SaveFileName, ImageBytes(player), keepOldAs, write, hooks)) return true;
  console.WriteLine(SaveFailedMessage);
  return false;
}

void RemoveSaveLeftovers() { platform::RemoveStaleTemporaries(SaveFileName, PlayerImageSize); }

SaveVerdict JudgeSaveFile() {
  TPlayer record{};
  return ReadAndJudge(record);
}

bool LoadPlayer(Console& console, TPlayer& record) {
  TPlayer read{};
  switch (ReadAndJudge(read)) {
    case SaveVerdict::Missing:
      return false;
    case SaveVerdict::Unreadable:
      console.WriteLine(LoadFailedMessage);
      return false;
    case SaveVerdict::BadContent:
      record = read;
      console.WriteLine(BadContentMessage);
      return false;
    case SaveVerdict::Loads:
      break;
  }
  record = read;
  return true;
}

}  // namespace velkor
