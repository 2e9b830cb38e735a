#pragma once
// Where in the program a failure was raised, as the failure report names it.

#include <cstdint>

namespace velkor::platform {

// The offset of address into the program image that holds it, so that the
// report names the same place on every run of the same build; the address
// itself when the system cannot tell the image.
std::uintptr_t ImageOffset(const void* address);

}  // namespace velkor::platform
