// Looks codes and characters up in the table made from iconv.
#include "platform/cp932_table.h"

#include <algorithm>
#include <cstddef>

namespace velkor::platform {

namespace {
#include "platform/cp932_table_data.h"
}  // namespace

std::optional<char32_t> Cp932ToUnicode(std::uint16_t code) {
  const auto* end = DecodedCodes + DecodedCount;
  const auto* at = std::lower_bound(DecodedCodes, end, code);
  if (at == end || *at != code) return std::nullopt;
  return DecodedCharacters[at - DecodedCodes];
}

std::optional<std::uint16_t> UnicodeToCp932(char32_t character) {
  const auto* end = EncodedCharacters + EncodedCount;
  const auto* at = std::lower_bound(EncodedCharacters, end, character);
  if (at == end || *at != character) return std::nullopt;
  return EncodedCodes[at - EncodedCharacters];
}

}  // namespace velkor::platform
