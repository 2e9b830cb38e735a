// The standard console on Windows: binary streams, and console windows read
// and written in UTF-16 through the console's own functions.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "platform/console.h"
#include "platform/console_window.h"

namespace velkor::platform {

namespace {

bool IsConsoleWindow(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

class SystemConsoleWindow : public ConsoleWindow {
 public:
  SystemConsoleWindow(HANDLE input, HANDLE output) : input_(input), output_(output) {}

  bool Write(std::u16string_view text) override {
    while (!text.empty()) {
      DWORD written = 0;
      if (!::WriteConsoleW(output_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
          written == 0)
        return false;
      text.remove_prefix(written);
    }
    return true;
  }

  Read ReadSome(std::u16string& text, std::size_t max) override {
    text.assign(max, u'\0');
    DWORD got = 0;
    if (!::ReadConsoleW(input_, text.data(), static_cast<DWORD>(max), &got, nullptr)) return Read::Failed;
    text.resize(got);
    return got == 0 ? Read::End : Read::Text;
  }

 private:
  HANDLE input_;
  HANDLE output_;
};

StandardConsole Open() {
  // Before anything is read or written: bytes pass as they stand.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  const bool inputIsWindow = IsConsoleWindow(input);
  const bool outputIsWindow = IsConsoleWindow(output);
  // Kept for the whole run: the game's console writes through them to the
  // end, and the held lead byte is shown when they go.
  static SystemConsoleWindow window(input, output);
  static ConsoleWindowInput windowInput(window);
  static ConsoleWindowOutput windowOutput(window);
  static std::istream windowIn(&windowInput);
  static std::ostream windowOut(&windowOutput);
  return {inputIsWindow ? windowIn : std::cin,
          outputIsWindow ? static_cast<std::ostream&>(windowOut) : std::cout, inputIsWindow, outputIsWindow,
          TerminalCharset()};
}

}  // namespace

std::string TerminalCharset() { return "CP932"; }

const StandardConsole& OpenStandardConsole() {
  // Process-wide: the standard streams are the process's, opened once.
  static const StandardConsole console = Open();
  return console;
}

bool WindowClosesWithGame() { return true; }

}  // namespace velkor::platform
