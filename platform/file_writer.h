#pragma once
// How the file routines hand bytes to the system. Each writing routine takes
// its writer as an argument: tests give one that fails half-way, like a full
// disk, one that takes a few bytes at a time, or one that pauses a replace
// just before its new file goes into place.

#include <cstddef>
#include <cstdint>

namespace velkor::platform {

// An open file as the system knows it: a descriptor on POSIX, a handle on
// Windows.
using FileHandle = std::intptr_t;

// Writes up to size bytes of data to file: the count written (possibly
// fewer), or -1 when the write failed.
using WriteFunction = std::ptrdiff_t (*)(FileHandle file, const void* data, std::size_t size);

// The system's own write.
std::ptrdiff_t SystemWrite(FileHandle file, const void* data, std::size_t size);

struct FileWriter {
  // Not explicit: a write function alone is a writer.
  FileWriter(WriteFunction write = SystemWrite, void (*beforeMove)() = nullptr)
      : Write(write), BeforeMove(beforeMove) {}
  WriteFunction Write;
  // Called when a replace's new file is whole and flushed, just before it is
  // moved over its target; null in the game.
  void (*BeforeMove)();
};

}  // namespace velkor::platform
