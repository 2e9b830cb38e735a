#pragma once
// save.dat: the player's definition as one 68-byte image sealed with a
// ten-letter checksum.

#include <string>

#include "data/fighter.h"

namespace velkor {

std::string CalcChecksum(const TPlayer& player);
void StoreChecksum(TPlayer& player);
// Seals Player and writes save.dat; false (silently) when writing failed.
bool SavePlayer();
// Reads save.dat into Player; true only for a whole file with the right checksum.
bool LoadPlayer();

}  // namespace velkor
