// The browser page's file hooks: each change is awaited from the page's
// Module.velkorFiles (web/host-contract.md), so that IndexedDB holds it
// before the game goes on. A hook that fails or answers anything but true
// means the page did not store the change.
#include <emscripten.h>

#include "platform/file_hooks.h"

namespace velkor::platform {

namespace {

// clang-format off
EM_ASYNC_JS(int, AwaitReplaced, (const char* target, const char* keptAs), {
  try {
    const name = UTF8ToString(target);
    const keptName = UTF8ToString(keptAs);
    const kept = keptName === "" ? null : { path: keptName, bytes: FS.readFile(keptName) };
    return (await Module.velkorFiles.replaced(name, FS.readFile(name), kept)) === true ? 1 : 0;
  } catch (error) {
    err("VELKOR: the page did not store " + UTF8ToString(target) + ": " + error);
    return 0;
  }
});

EM_ASYNC_JS(int, AwaitAppended, (const char* path, const char* data, int size), {
  try {
    return (await Module.velkorFiles.appended(UTF8ToString(path), HEAPU8.slice(data, data + size))) === true ? 1 : 0;
  } catch (error) {
    err("VELKOR: the page did not store " + UTF8ToString(path) + ": " + error);
    return 0;
  }
});
// clang-format on

bool Replaced(const std::string& target, const std::string& keptAs) {
  return AwaitReplaced(target.c_str(), keptAs.c_str()) == 1;
}

bool Appended(const std::string& path, std::string_view bytes) {
  return AwaitAppended(path.c_str(), bytes.data(), static_cast<int>(bytes.size())) == 1;
}

}  // namespace

const FileHooks PageFileHooks{Replaced, Appended};

}  // namespace velkor::platform
