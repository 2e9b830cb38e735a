// The terminal's width on POSIX systems.
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/terminal_size.h"

namespace velkor::platform {

int ErrorTerminalColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace velkor::platform
