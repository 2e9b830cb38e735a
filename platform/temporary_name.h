#pragma once
// The names of the temporary files that the file routines write beside a
// target: the target's name, TemporaryMark and six letters or digits. Only
// such names are ever cleaned up, so that no file of a player's own (such as
// "save.dat.backup") is touched.

#include <cstdint>
#include <iterator>
#include <string>
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

// A temporary name of target made from seed, which a system draws from its
// clock, the process and the attempt; a name that is taken is simply tried
// again with another seed.
inline std::string DrawTemporaryName(const std::string& target, std::uint64_t seed) {
  static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = target + std::string(TemporaryMark);
  for (std::size_t i = 0; i < TemporaryLetters; ++i) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    name += letters[(seed >> 33) % (std::size(letters) - 1)];
  }
  return name;
}

}  // namespace velkor::platform
