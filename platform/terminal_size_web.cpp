// Node's standard error has no width that the game can ask for.
#include "platform/terminal_size.h"

namespace velkor::platform {

int ErrorTerminalColumns() { return 0; }

}  // namespace velkor::platform
