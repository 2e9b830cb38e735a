// No width to ask for, where standard error is never a terminal the game
// can measure (the WebAssembly game, under Node or in a page).
#include "platform/terminal_size.h"

namespace velkor::platform {

int ErrorTerminalColumns() { return 0; }

}  // namespace velkor::platform
