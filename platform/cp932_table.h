#pragma once
// Code page 932 and Unicode by a table of the game's own, made from the GNU C
// library's iconv: the compiler makes the game's texts with it
// (platform/cp932_literal.h), and where no iconv converts (WebAssembly) the
// same name typed gives the same bytes as on Linux.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>

#include "platform/cp932_table_data.h"

namespace velkor::platform {

// Each table is a string: one unit more than it holds, the final zero.
static_assert(std::size(cp932_data::DecodedCodes) == cp932_data::DecodedCount + 1 &&
              std::size(cp932_data::DecodedCharacters) == cp932_data::DecodedCount + 1 &&
              std::size(cp932_data::EncodedPages) == 256 + 1 &&
              std::size(cp932_data::EncodedCodes) % 256 == 1);

// The character of a code: one byte (below 0x100) or lead << 8 | trail.
constexpr std::optional<char32_t> Cp932ToUnicode(std::uint16_t code) {
  using namespace cp932_data;
  const auto* end = DecodedCodes + DecodedCount;
  const auto* at = std::lower_bound(DecodedCodes, end, code);
  if (at == end || *at != code) return std::nullopt;
  return DecodedCharacters[at - DecodedCodes];
}

// The code iconv writes the character as, in the same form.
constexpr std::optional<std::uint16_t> UnicodeToCp932(char32_t character) {
  using namespace cp932_data;
  if (character > 0xFFFF) return std::nullopt;  // the table holds the first plane
  const std::size_t page = EncodedPages[character >> 8];
  if (page == 0) return std::nullopt;
  const std::uint16_t code = EncodedCodes[(page - 1) * 256 + (character & 0xFF)];
  if (code == 0 && character != 0) return std::nullopt;
  return code;
}

}  // namespace velkor::platform
