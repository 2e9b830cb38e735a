#include "console/failure.h"

#include <dlfcn.h>

#include <cinttypes>
#include <cstdio>

#include "console/console_io.h"

namespace velkor {

namespace {

// Offset of an address into the image that holds it, so that the report names
// the same place on every run of the same build.
std::uintptr_t ImageOffset(const void* address) {
  Dl_info info{};
  const auto raw = reinterpret_cast<std::uintptr_t>(address);
  if (dladdr(address, &info) != 0 && info.dli_fbase != nullptr)
    return raw - reinterpret_cast<std::uintptr_t>(info.dli_fbase);
  return raw;
}

}  // namespace

__attribute__((noinline)) void RaiseFailure(std::string_view kind, std::string_view message) {
  throw GameFailure(kind, message, ImageOffset(__builtin_return_address(0)));
}

std::string CannotOpenMessage(std::string_view fileName) {
  return "ファイル " + std::string(fileName) + " は開けません";
}

std::string FailureReport(const GameFailure& failure) {
  char location[2 + 16 + 1];
  std::snprintf(location, sizeof location, "%08" PRIXPTR, failure.Location());
  std::string report = failure.Kind();
  report += "がモジュール ";
  report += ModuleName;
  report += " の ";
  report += location;
  report += " で発生しました。";
  report += LineEnd;
  report += failure.Message();
  report += LineEnd;
  return report;
}

int RunGuarded(const std::function<void()>& body) {
  try {
    body();
    FlushOutput();
    return 0;
  } catch (const GameFailure& failure) {
    try {
      if (!AtLineStart()) Write(LineEnd);
      Write(FailureReport(failure));
      FlushOutput();
    } catch (const GameFailure&) {
      // The console itself is gone; the exit status still tells.
    }
    return 1;
  }
}

}  // namespace velkor
