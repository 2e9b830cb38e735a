#pragma once
// The names of the temporary files that the file routines write beside a
// target: the target's name, TemporaryMark and six letters or digits. Only
// such names are ever cleaned up, so that no file of a player's own (such as
// "save.dat.backup") is touched.

#include <string_view>

namespace velkor::platform {

inline constexpr std::string_view TemporaryMark = ".velkor-";
inline constexpr std::size_t TemporaryLetters = 6;

// prefix: the target's own name followed by TemporaryMark.
inline bool IsTemporaryName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + TemporaryLetters || name.substr(0, prefix.size()) != prefix)
    return false;
  for (const char c : name.substr(prefix.size())) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letter) return false;
  }
  return true;
}

}  // namespace velkor::platform
