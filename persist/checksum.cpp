#include "persist/checksum.h"

#include "console/prompts.h"
#include "persist/save_file.h"

namespace velkor {

namespace {

constexpr std::size_t ChecksumOffset = 56;  // length byte, then ten letters
constexpr std::int32_t DigitBase = 52;

constexpr bool PrintableMarker() {
  if (SaveMarker.size() != 10) return false;
  for (const char c : SaveMarker)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}
static_assert(PrintableMarker(), "the marker is ten printable ASCII bytes");

constexpr bool ValidDigits() {
  for (std::size_t k = 0; k < 10; ++k) {
    if (InitialDigits[k] < 0 || InitialDigits[k] >= DigitBase) return false;
    const std::int32_t m = DigitMultipliers[k];
    if (m <= 0 || m % 2 == 0 || m % 13 == 0) return false;  // coprime to 52 = 4 x 13
  }
  return true;
}
static_assert(ValidDigits(), "base-52 starting digits and multipliers coprime to 52");

}  // namespace

std::string CalcChecksum(const TPlayer& player) {
  // Computed on a copy of the image: the record itself is never touched.
  PlayerImage image = ToImage(player);
  image[ChecksumOffset] = static_cast<std::uint8_t>(SaveMarker.size());
  for (std::size_t i = 0; i < SaveMarker.size(); ++i)
    image[ChecksumOffset + 1 + i] = static_cast<std::uint8_t>(SaveMarker[i]);

  std::array<std::int32_t, 10> ChecksumDigits = InitialDigits;
  for (const std::uint8_t b : image) {
    for (std::size_t k = 0; k < ChecksumDigits.size(); ++k)
      ChecksumDigits[k] = (ChecksumDigits[k] * DigitMultipliers[k] + b) % DigitBase;
  }

  std::string letters;
  for (const std::int32_t digit : ChecksumDigits) letters += MenuLetter(digit);
  return letters;
}

void StoreChecksum(TPlayer& player) { player.Checksum.Assign(CalcChecksum(player)); }

}  // namespace velkor
