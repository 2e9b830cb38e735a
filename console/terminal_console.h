#pragma once
// The console bound to a real terminal. The game reads and writes code page
// 932 bytes; a terminal that speaks another character set (today nearly always
// UTF-8) gets its text converted on the way out and gives typed lines
// converted on the way in. Pipes and files see the raw bytes.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "console/console_io.h"
#include "console/line_editor.h"
#include "console/terminal_binding.h"

namespace velkor {

namespace platform {
class CharsetConverter;
}

// A device over two standard streams that converts what needs converting.
// A double-byte character split across two writes is held back until its
// second byte comes, so the terminal never sees half of one.
// With an editor, typed lines are read through it, and the text written since
// the last line end is held back to be its prompt: the editor draws it, so
// that it stays in place when the line is redrawn.
class TerminalConsole : public ConsoleDevice {
 public:
  // The editor is used only when both sides convert.
  TerminalConsole(std::istream& in, std::ostream& out, const TerminalBinding& binding,
                  std::unique_ptr<LineEditor> editor = nullptr);
  // A prompt still held at the end is shown, and a lead byte as "?".
  ~TerminalConsole() override;
  void Put(std::string_view bytes) override;
  bool Get(std::string& line) override;

  // Whether each side really converts: false also when iconv lacks the set.
  bool ConvertsOutput() const;
  bool ConvertsInput() const;
  bool EditsLines() const;

 private:
  std::string ToScreen(std::string_view bytes);
  void Send(std::string_view bytes);
  std::istream& in_;
  std::ostream& out_;
  std::unique_ptr<platform::CharsetConverter> toTerminal_;    // null when output passes raw
  std::unique_ptr<platform::CharsetConverter> fromTerminal_;  // null when input passes raw
  std::string heldLead_;                                      // a lead byte waiting for its pair
  std::unique_ptr<LineEditor> editor_;                        // null when lines are read raw
  std::string prompt_;                                        // game bytes since the last line end
  bool maskControls_;
};

// Decides the binding from the standard streams and the terminal's character
// set (platform/console.h) and binds console over those streams. The caller keeps the device alive for
// as long as the game runs.
std::unique_ptr<ConsoleDevice> BindStandardConsole(Console& console);

}  // namespace velkor
