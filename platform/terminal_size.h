#pragma once
// How wide the terminal is that standard error writes to.

namespace velkor::platform {

// Its width in columns; 0 when standard error is no terminal or the system
// does not say.
int ErrorTerminalColumns();

}  // namespace velkor::platform
