#pragma once
// Whether the game's code page 932 text is converted for a terminal, decided
// from what the standard streams are and the terminal's character set.

#include <string>
#include <string_view>

namespace velkor {

// What the standard console does with the bytes, decided once at start-up.
struct TerminalBinding {
  bool convertInput = false;   // charset -> code page 932 on the way in
  bool convertOutput = false;  // code page 932 -> charset on the way out
  std::string charset;         // the terminal's character set, for iconv
  bool editLines = false;      // typed lines are edited on the terminal
  // Control bytes other than CR and LF (a loaded name's ESC or BEL) show as
  // "?", so that no text of the game can drive the terminal.
  bool maskControls = false;
  bool operator==(const TerminalBinding&) const = default;
};

// The choice for the given answers: a side is converted only when it is a
// terminal and the locale's character set is not Shift-JIS itself. The C
// locale's plain ASCII is taken to mean a UTF-8 terminal: converting to ASCII
// would leave no Japanese at all, and raw bytes would show as garbage.
// Lines are edited only when both sides are converted terminals: the editor
// echoes and redraws on the screen it reads from. Control bytes are masked
// whenever the output is a terminal, whatever its set.
TerminalBinding DecideTerminalBinding(bool inputIsTerminal, bool outputIsTerminal,
                                      std::string_view localeCharset);

}  // namespace velkor
