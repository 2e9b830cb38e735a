#pragma once
// The fixed data of the save file's checksum. A file sealed with other values
// is refused, so these never change once a version has been released.

#include <array>
#include <cstdint>
#include <string_view>

namespace velkor {

// Stands in the Checksum field (length 10 and these ten bytes) while the
// checksum is computed, so that the field never seals itself.
inline constexpr std::string_view SaveMarker = "VelkorSeal";

// Starting values of the ten base-52 digits.
inline constexpr std::array<std::int32_t, 10> InitialDigits{17, 4, 39, 22, 8, 45, 31, 12, 50, 27};

// One per digit, each coprime to 52: a byte that changes by anything that is
// not a multiple of 52 then changes every digit.
inline constexpr std::array<std::int32_t, 10> DigitMultipliers{3, 5, 7, 9, 11, 15, 17, 19, 21, 23};

}  // namespace velkor
