#include "game/startup.h"

#include "console/console_io.h"
#include "console/failure.h"
#include "data/fighter.h"

namespace velkor {

int StartUp() {
  return RunGuarded([] {
    ClearPlayer(Player);
    WriteLine();
    // Loading the saved definition, or defining a new one and saving it.
    // The hunt.
  });
}

}  // namespace velkor
