#pragma once
// The program's standard input and output as the game's console uses them.

#include <iosfwd>
#include <string>

namespace velkor::platform {

struct StandardConsole {
  std::istream& in;
  std::ostream& out;
  bool inputIsTerminal;   // typed by a person rather than read from a pipe or a file
  bool outputIsTerminal;  // shown to a person
  std::string charset;    // the character set a terminal on either side speaks
};

// Sets the standard streams up, once and before anything is read or
// written, and tells what stands behind them.
// On POSIX: std::cin and std::cout as they are; a side is a terminal when
// isatty says so, and terminals speak the user's LC_CTYPE locale's set.
// On Windows: both sides in binary mode, so that every byte passes as it
// stands (text mode would write "\r\n" as "\r\r\n"); a side that is a console
// window is read and written through the console's wide-character functions
// and converted from and to code page 932 on the way, so that Japanese shows
// and can be typed whatever the console's own code page: such a side speaks
// code page 932 to the game.
const StandardConsole& OpenStandardConsole();

// The character set of the user's LC_CTYPE locale, as nl_langinfo names it
// (the program's own LC_CTYPE is left as it was); code page 932 on Windows,
// where the console windows are converted below the game.
std::string TerminalCharset();

// Whether the game's window closes as the game ends (a Windows console, as a
// double-click opens one): the end then waits for Enter so that the last
// lines can be read.
bool WindowClosesWithGame();

}  // namespace velkor::platform
