// The program image of an address on Windows: the module that holds it, whose
// handle is its base address.
#include <windows.h>

#include "platform/failure_location.h"

namespace velkor::platform {

std::uintptr_t ImageOffset(const void* address) {
  const auto raw = reinterpret_cast<std::uintptr_t>(address);
  HMODULE module = nullptr;
  if (GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module) != 0 &&
      module != nullptr)
    return raw - reinterpret_cast<std::uintptr_t>(module);
  return raw;
}

}  // namespace velkor::platform
