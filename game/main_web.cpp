// The browser module's entry: the game, its player's files stored by the
// page through the hooks the page gives (web/host-contract.md). The page may
// also ask, before it keeps an uploaded save.dat, what the game would make
// of it.
#include <emscripten.h>

#include "game/program.h"
#include "persist/save_file.h"

namespace {

// clang-format off
EM_JS(int, PageGaveHooks, (), {
  const files = Module.velkorFiles || {};
  const missing = ["velkorReadLine", "velkorWrite"].filter((name) => typeof Module[name] !== "function")
    .concat(["replaced", "appended"].filter((name) => typeof files[name] !== "function").map((name) => "velkorFiles." + name));
  if (missing.length > 0) err("VELKOR: the page gives no " + missing.join(", ") + " (web/host-contract.md)");
  return missing.length === 0 ? 1 : 0;
});
// clang-format on

}  // namespace

// The SaveVerdict of the save.dat in the module's working folder, as a
// number; the page writes the uploaded file there in a module that plays no
// run.
extern "C" EMSCRIPTEN_KEEPALIVE int velkor_judge_save() { return static_cast<int>(velkor::JudgeSaveFile()); }

int main() {
  if (PageGaveHooks() != 1) return 1;
  return velkor::RunProgram(velkor::platform::PageFileHooks);
}
