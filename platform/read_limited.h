#pragma once
// The part of reading a file within a size limit that is the same on every
// system, once the file is open.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "platform/files.h"

namespace velkor::platform {

inline constexpr std::size_t FileChunkBytes = 64 * 1024;

// Reads at most limit bytes through readUpTo(data, size), which fills up to
// size bytes and gives the count read (fewer only at the end of the file),
// or a negative count on an error. With wholeOnly, a file longer than limit
// is refused instead. Reads in chunks up to the limit, whatever size the file
// claimed: it may grow meanwhile, or the system may not know its size (/proc).
template <class ReadUpTo>
ReadStatus ReadWithinLimit(ReadUpTo readUpTo, std::size_t limit, bool wholeOnly, std::string& bytes) {
  std::array<char, FileChunkBytes> chunk{};
  for (;;) {
    const std::size_t room = limit - bytes.size();
    // A whole file is read one byte past the limit, to see whether it ends.
    const std::size_t want = std::min(chunk.size(), wholeOnly && room < chunk.size() ? room + 1 : room);
    if (want == 0) break;
    const long long got = readUpTo(chunk.data(), want);
    if (got < 0 || static_cast<std::size_t>(got) > room) {
      bytes.clear();
      return ReadStatus::Refused;
    }
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
    if (static_cast<std::size_t>(got) < want) break;
  }
  return ReadStatus::Read;
}

}  // namespace velkor::platform
