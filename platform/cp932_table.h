#pragma once
// Code page 932 and Unicode by a table of the game's own, made from the GNU C
// library's iconv: where no iconv converts (WebAssembly), the same name typed
// gives the same bytes as on Linux.
#include <cstdint>
#include <optional>

namespace velkor::platform {

// The character of a code: one byte (below 0x100) or lead << 8 | trail.
std::optional<char32_t> Cp932ToUnicode(std::uint16_t code);

// The code iconv writes the character as, in the same form.
std::optional<std::uint16_t> UnicodeToCp932(char32_t character);

}  // namespace velkor::platform
