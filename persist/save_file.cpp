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
  // A name longer than the record can hold only comes from a file made
  // outside the game; it is refused like a wrong checksum.
  return sealed && player.Name.Length <= decltype(player.Name)::Capacity;
}

// A save.dat that would be refused is the player's only copy of something:
// its bytes are kept as save.dat.bad before the new save replaces it. A
// valid file goes without a copy (the player declined it). False when the
// file is there but its bytes cannot be kept.
bool KeepRefusedFile() {
  TPlayer record{};
  const Found found = ReadSaveRecord(record);
  if (found == Found::Nothing) return true;
  if (found == Found::Image && Acceptable(record)) return true;
  switch (platform::CopyFile(SaveFileName, RefusedSaveFileName)) {
    case platform::CopyStatus::Copied:
    case platform::CopyStatus::Missing:
    case platform::CopyStatus::NotRegular:  // a FIFO or a device holds no bytes to keep
      return true;
    case platform::CopyStatus::Failed:
      break;
  }
  return false;
}

}  // namespace

bool SavePlayer() {
  StoreChecksum(Player);
  if (KeepRefusedFile() && platform::ReplaceFile(SaveFileName, ImageBytes(Player))) return true;
  WriteLine(SaveFailedMessage);
  return false;
}

bool LoadPlayer(TPlayer& record) {
  TPlayer read{};
  switch (ReadSaveRecord(read)) {
    case Found::Nothing:
      return false;
    case Found::Unreadable:
      WriteLine(LoadFailedMessage);
      return false;
    case Found::Image:
      break;
  }
  record = read;
  if (!Acceptable(record)) {
    WriteLine(BadContentMessage);
    return false;
  }
  return true;
}

}  // namespace velkor
