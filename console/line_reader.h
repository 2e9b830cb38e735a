#pragma once
// Reading one typed line from a stream in constant memory, for every device
// over a standard stream: a line that never ends (a file of zeros, a flood
// through a pipe) cannot fill the memory.

#include <cstddef>
#include <iosfwd>
#include <string>

namespace velkor {

// The longest line kept whole. The longest answer the game asks for is a
// 16-byte name, so every answer fits many times over.
inline constexpr std::size_t MaxLineBytes = 4096;

// Reads one line without its LF into line; false only at the end of input.
// A longer line gives its first MaxLineBytes + 1 bytes, so that it is still
// seen as too long, and the rest of it up to its LF is read and dropped.
// A stream that cannot be read raises the input failure.
bool ReadBoundedLine(std::istream& in, std::string& line);

}  // namespace velkor
