// The console's width on Windows: the visible window, not the buffer.
#include <windows.h>

#include "platform/terminal_size.h"

namespace velkor::platform {

int ErrorTerminalColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info) == 0) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace velkor::platform
