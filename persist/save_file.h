#pragma once
// save.dat: the player's definition as one 68-byte image sealed with a
// ten-letter checksum.

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "data/fighter.h"

namespace velkor {

// In the working directory. A new file is first written beside it under
// SaveFileName + ".tmp" and then renamed over it.
inline constexpr const char* SaveFileName = "save.dat";

inline constexpr const char* LoadFailedMessage = "（save.datの読み込みに失敗しました。）";
inline constexpr const char* BadContentMessage = "（save.datの内容が不適切です。）";

std::string CalcChecksum(const TPlayer& player);
void StoreChecksum(TPlayer& player);
// Seals Player and writes save.dat; false (silently) when writing failed, and
// then the old file is left as it was.
bool SavePlayer();
// Reads save.dat into Player; true only for a whole file with the right
// checksum and a name that fits the record.
bool LoadPlayer();

// How SavePlayer hands the new file's bytes to the system, with the contract
// of POSIX write(). Tests put in one that fails half-way, like a full disk.
using SaveWriter = ssize_t (*)(int fd, const void* data, std::size_t size);
extern SaveWriter SaveWrite;

}  // namespace velkor
