#include "console/terminal_binding.h"

#include <string>

#include "platform/charset.h"

namespace velkor {

namespace {

bool IsShiftJis(std::string_view charset) {
  const std::string name = platform::FoldedCharsetName(charset);
  for (const char* known : {"SHIFTJIS", "SJIS", "CP932", "MS932", "WINDOWS31J", "MSKANJI", "CSSHIFTJIS",
                            "CSWINDOWS31J", "IBM943"}) {
    if (name == known) return true;
  }
  return false;
}

bool IsPlainAscii(std::string_view charset) {
  const std::string name = platform::FoldedCharsetName(charset);
  return name.empty() || name == "ANSIX3.41968" || name == "ASCII" || name == "USASCII" || name == "646";
}

}  // namespace

TerminalBinding DecideTerminalBinding(bool inputIsTerminal, bool outputIsTerminal,
                                      std::string_view localeCharset) {
  if (IsShiftJis(localeCharset)) return {};
  TerminalBinding binding;
  binding.convertOutput = outputIsTerminal;
  binding.convertInput = inputIsTerminal;
  binding.editLines = inputIsTerminal && outputIsTerminal;
  if (binding.convertOutput || binding.convertInput)
    binding.charset = IsPlainAscii(localeCharset) ? "UTF-8" : std::string(localeCharset);
  return binding;
}

}  // namespace velkor
