// The standard console on a POSIX system: the streams as they are, and the
// locale's character set for a terminal.
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <iostream>

#include "platform/console.h"

namespace velkor::platform {

namespace {

// The set named after the "." of a locale name such as "ja_JP.SJIS@euro".
std::string CharsetOfLocaleName(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return {};
  name.remove_prefix(dot + 1);
  return std::string(name.substr(0, name.find('@')));
}

}  // namespace

std::string TerminalCharset() {
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  std::string charset;
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    charset = nl_langinfo(CODESET);
  } else {
    // The locale is named but not installed: its name still tells the set
    // the terminal speaks.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
      const char* value = std::getenv(variable);
      if (value == nullptr || *value == '\0') continue;
      charset = CharsetOfLocaleName(value);
      break;
    }
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return charset;
}

const StandardConsole& OpenStandardConsole() {
  // Process-wide: the standard streams are the process's, opened once.
  static const StandardConsole console{std::cin, std::cout, isatty(STDIN_FILENO) == 1,
                                       isatty(STDOUT_FILENO) == 1, TerminalCharset()};
  return console;
}

bool WindowClosesWithGame() { return false; }

}  // namespace velkor::platform
