#include "console/terminal_binding.h"

#include <string>

#include "platform/charset.h"

namespace velkor {

TerminalBinding DecideTerminalBinding(bool inputIsTerminal, bool outputIsTerminal,
                                      std::string_view localeCharset) {
  TerminalBinding binding;
  binding.maskControls = outputIsTerminal;
  if (platform::IsCharsetNamed(localeCharset, platform::Cp932Names)) return binding;
  binding.convertOutput = outputIsTerminal;
  binding.convertInput = inputIsTerminal;
  binding.editLines = inputIsTerminal && outputIsTerminal;
  if (binding.convertOutput || binding.convertInput)
    binding.charset = localeCharset.empty() || platform::IsCharsetNamed(localeCharset, platform::AsciiNames)
                          ? "UTF-8"
                          : std::string(localeCharset);
  return binding;
}

}  // namespace velkor
