#include "console/terminal_console.h"

#include <cstdio>
#include <new>
#include <ostream>

#include "console/failure.h"
#include "console/line_editor.h"
#include "console/line_reader.h"
#include "console/to_cp932.h"
#include "platform/console.h"
#include "platform/cp932_literal.h"

namespace velkor {

namespace {

// Every byte below 0x20 but CR and LF, and DEL, becomes "?". Taken byte by
// byte on purpose: no second byte of code page 932 lies in that range, so a
// control byte is always a character of its own.
void MaskControlBytes(std::string& text) {
  for (char& byte : text) {
    const auto b = static_cast<unsigned char>(byte);
    if ((b < 0x20 && b != '\r' && b != '\n') || b == 0x7F) byte = '?';
  }
}

}  // namespace

TerminalConsole::TerminalConsole(std::istream& in, std::ostream& out, const TerminalBinding& binding,
                                 std::unique_ptr<LineEditor> editor)
    : in_(in), out_(out), maskControls_(binding.maskControls) {
  // A set that iconv does not know leaves that side raw: the game still
  // plays, only its Japanese does not show.
  // Game text is walked by its own pairs, so that a pair with nothing
  // assigned to it shows as one "?" rather than a "?" and a stray letter.
  if (binding.convertOutput) {
    toTerminal_ =
        std::make_unique<CharsetConverter>(binding.charset, GameCharset, CharsetConverter::Walk::Cp932Pairs);
    if (!toTerminal_->IsOpen()) toTerminal_.reset();
  }
  if (binding.convertInput) {
    fromTerminal_ = std::make_unique<CharsetConverter>(GameCharset, binding.charset);
    if (!fromTerminal_->IsOpen()) fromTerminal_.reset();
  }
  if (toTerminal_ && fromTerminal_) editor_ = std::move(editor);
}

TerminalConsole::~TerminalConsole() {
  if (!out_) return;
  try {
    std::string rest = prompt_.empty() ? std::string() : ToScreen(prompt_);
    if (!heldLead_.empty()) rest += platform::StandIn;
    if (rest.empty()) return;
    out_.write(rest.data(), static_cast<std::streamsize>(rest.size()));
    out_.flush();
  } catch (const std::bad_alloc&) {
  }
}

bool TerminalConsole::ConvertsOutput() const { return toTerminal_ != nullptr; }
bool TerminalConsole::ConvertsInput() const { return fromTerminal_ != nullptr; }
bool TerminalConsole::EditsLines() const { return editor_ != nullptr; }

void TerminalConsole::Put(std::string_view bytes) {
  if (!editor_) {
    Send(ToScreen(bytes));
    return;
  }
  // A trail byte is never a LF, so the last LF ends a line.
  std::string text = std::move(prompt_);
  prompt_.clear();
  text.append(bytes);
  const std::size_t lineEnd = text.rfind('\n');
  if (lineEnd == std::string::npos) {
    prompt_.swap(text);
    return;
  }
  prompt_.assign(text, lineEnd + 1);
  text.resize(lineEnd + 1);
  Send(ToScreen(text));
}

bool TerminalConsole::Get(std::string& line) {
  if (editor_) {
    const std::string prompt = ToScreen(prompt_);
    prompt_.clear();
    std::string typed;
    if (!editor_->Read(prompt, typed)) return false;
    line.clear();
    fromTerminal_->Lenient(typed, line);
    return true;
  }
  if (!ReadBoundedLine(in_, line)) return false;
  if (!fromTerminal_) return true;
  std::string bytes;
  fromTerminal_->Lenient(line, bytes);
  line.swap(bytes);
  return true;
}

std::string TerminalConsole::ToScreen(std::string_view bytes) {
  std::string text = heldLead_;
  text.append(bytes);
  if (maskControls_) MaskControlBytes(text);
  if (!toTerminal_) return text;
  // A lead byte at the very end waits for its pair.
  heldLead_ = text.substr(platform::WholeCp932Prefix(text));
  text.resize(text.size() - heldLead_.size());
  std::string shown;
  shown.reserve(text.size() * 3 / 2);
  toTerminal_->Lenient(text, shown);
  return shown;
}

std::string TerminalConsole::Shown(std::string_view text) {
  std::string bytes(text);
  if (maskControls_) MaskControlBytes(bytes);
  if (!toTerminal_) return bytes;
  std::string shown;
  toTerminal_->Lenient(bytes, shown);
  return shown;
}

void TerminalConsole::Send(std::string_view bytes) {
  if (bytes.empty()) return;
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
  if (!out_) RaiseFailure(KindInOut, "標準出力に書き込めません"_cp);
}

std::unique_ptr<ConsoleDevice> BindStandardConsole(Console& console) {
  const platform::StandardConsole& standard = platform::OpenStandardConsole();
  const TerminalBinding binding =
      DecideTerminalBinding(standard.inputIsTerminal, standard.outputIsTerminal, standard.charset);
  console.SetEndOfInputQuits(standard.inputIsTerminal && standard.outputIsTerminal);
  std::unique_ptr<ConsoleDevice> device;
  if (binding.convertOutput || binding.convertInput || binding.maskControls) {
    std::unique_ptr<LineEditor> editor;
    if (binding.editLines) editor = LineEditor::Open(binding.charset, stdin, stdout);
    device = std::make_unique<TerminalConsole>(standard.in, standard.out, binding, std::move(editor));
  } else {
    device = std::make_unique<StreamConsole>(standard.in, standard.out);
  }
  console.Bind(*device);
  return device;
}

}  // namespace velkor
