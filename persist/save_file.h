#pragma once
// save.dat: the player's definition as one 68-byte image sealed with a
// ten-letter checksum.

#include <string>

#include "console/console_io.h"
#include "data/fighter.h"
#include "platform/cp932_literal.h"
#include "platform/file_hooks.h"
#include "platform/file_writer.h"

namespace velkor {

// In the working directory. A new file is first written beside it under a
// unique name and then renamed over it.
inline constexpr const char* SaveFileName = "save.dat";
// Where a save.dat that was refused is kept before a new one replaces it.
inline constexpr const char* RefusedSaveFileName = "save.dat.bad";

inline constexpr const char* LoadFailedMessage = "（save.datの読み込みに失敗しました。）"_cp;
inline constexpr const char* BadContentMessage = "（save.datの内容が不適切です。）"_cp;
inline constexpr const char* SaveFailedMessage = "（save.datの書き込みに失敗しました。）"_cp;

std::string CalcChecksum(const TPlayer& player);
void StoreChecksum(TPlayer& player);
// Seals player and writes save.dat, the bytes going through write. A save.dat that LoadPlayer would refuse
// is renamed save.dat.bad (replacing an older one) once the new file is
// written; one that cannot be renamed is not replaced. hooks tell the host
// of the new file and the one kept, as one change. When writing fails (or
// the host did not store the change), writes SaveFailedMessage and gives
// false on console, and the old file is left as it was; the run goes on from
// the record in memory.
bool SavePlayer(Console& console, TPlayer& player, platform::FileWriter write = platform::SystemWrite,
                const platform::FileHooks& hooks = platform::NoFileHooks);
// What LoadPlayer would make of save.dat, told without a word: the page asks
// it of an uploaded file before it keeps the file.
enum class SaveVerdict {
  Loads = 0,
  Missing = 1,     // nothing at save.dat: LoadPlayer is silent
  Unreadable = 2,  // not a regular file, or shorter than a record: LoadFailedMessage
  BadContent = 3,  // a wrong checksum, or values no definition makes: BadContentMessage
};
SaveVerdict JudgeSaveFile();
// Reads save.dat; true only for a whole file with the right checksum and a
// record that a definition could have made. Whenever a whole record was
// read, record holds it, also when it is refused: its spare bytes then travel
// into the next save. Anything but a regular file is a file that cannot be
// read, and is never waited on. Why a file was refused is told on console.
bool LoadPlayer(Console& console, TPlayer& record);
// Removes the temporary files that a save killed half-way (or a power cut)
// left beside save.dat, and nothing else; a save in progress keeps its own.
void RemoveSaveLeftovers();

}  // namespace velkor
