// The program image of an address on a POSIX system, from the dynamic linker.
#include <dlfcn.h>

#include "platform/failure_location.h"

namespace velkor::platform {

std::uintptr_t ImageOffset(const void* address) {
  Dl_info info{};
  const auto raw = reinterpret_cast<std::uintptr_t>(address);
  if (dladdr(address, &info) != 0 && info.dli_fbase != nullptr)
    return raw - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
  return raw;
}

}  // namespace velkor::platform
