#pragma once
// How the file routines hand bytes to the system, with the contract of POSIX
// write(). Tests put in one that fails half-way, like a full disk, or one that
// takes a few bytes at a time.

#include <sys/types.h>

#include <cstddef>

namespace velkor::platform {

using PosixWriter = ssize_t (*)(int fd, const void* data, std::size_t size);
extern PosixWriter PosixWrite;

}  // namespace velkor::platform
