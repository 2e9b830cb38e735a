#include "console/terminal_console.h"

#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <iostream>

#include "console/failure.h"

namespace velkor {

namespace {

constexpr const char* GameCharset = "CP932";
// Decodes one character into four bytes, to learn where a character ends.
constexpr const char* OneCharacterCharset = "UTF-32LE";
constexpr char Replacement = '?';

bool IsLeadByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// A code page 932 character that does not convert is skipped whole: a lead
// byte with a proper second byte is one character even when nothing is
// assigned to the pair; a stray byte is one on its own.
std::size_t GameCharacterLength(std::string_view text) {
  return text.size() >= 2 && IsLeadByte(text[0]) && IsTrailByte(text[1]) ? 2 : 1;
}

// The name with case, "-", "_" and spaces ignored, for comparing set names.
std::string Folded(std::string_view name) {
  std::string folded;
  for (const char c : name) {
    if (c == '-' || c == '_' || c == ' ') continue;
    folded += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return folded;
}

bool IsShiftJis(std::string_view charset) {
  const std::string name = Folded(charset);
  for (const char* known : {"SHIFTJIS", "SJIS", "CP932", "MS932", "WINDOWS31J", "MSKANJI",
                            "CSSHIFTJIS", "CSWINDOWS31J", "IBM943"}) {
    if (name == known) return true;
  }
  return false;
}

bool IsPlainAscii(std::string_view charset) {
  const std::string name = Folded(charset);
  return name.empty() || name == "ANSIX3.41968" || name == "ASCII" || name == "USASCII" ||
         name == "646";
}

// The set named after the "." of a locale name such as "ja_JP.SJIS@euro".
std::string CharsetOfLocaleName(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return {};
  name.remove_prefix(dot + 1);
  return std::string(name.substr(0, name.find('@')));
}

}  // namespace

// One iconv conversion, opened once and reused for every line.
class TerminalConsole::Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (IsOpen()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Appends text converted to out. A character that is not valid in the
  // source or that the target lacks becomes one "?"; characterLength(rest)
  // tells how many bytes that character takes. The shift state is closed at
  // the end, so each call stands on its own.
  template <typename CharacterLength>
  void Convert(std::string_view text, std::string& out, CharacterLength characterLength) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[4096];
    while (!text.empty()) {
      char* in = const_cast<char*>(text.data());
      std::size_t inLeft = text.size();
      char* to = buffer;
      std::size_t toLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, &in, &inLeft, &to, &toLeft);
      const int error = errno;
      out.append(buffer, sizeof buffer - toLeft);
      text.remove_prefix(text.size() - inLeft);
      if (result != static_cast<std::size_t>(-1) || error == E2BIG || text.empty()) continue;
      // Not valid, cut short, or missing from the target: stand in and go on.
      out += Replacement;
      text.remove_prefix(std::clamp<std::size_t>(characterLength(text), 1, text.size()));
    }
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &to, &toLeft);
    out.append(buffer, sizeof buffer - toLeft);
  }

  // The length of the character text starts with, in the source set; 1 when
  // it is not a valid character there.
  std::size_t FirstCharacterLength(std::string_view text) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char one[4];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* to = one;
    std::size_t toLeft = sizeof one;
    iconv(cd_, &in, &inLeft, &to, &toLeft);
    return std::max<std::size_t>(text.size() - inLeft, 1);
  }

 private:
  iconv_t cd_;
};

TerminalBinding DecideTerminalBinding(bool inputIsTerminal, bool outputIsTerminal,
                                      std::string_view localeCharset) {
  if (IsShiftJis(localeCharset)) return {};
  TerminalBinding binding;
  binding.convertOutput = outputIsTerminal;
  binding.convertInput = inputIsTerminal;
  if (binding.convertOutput || binding.convertInput)
    binding.charset = IsPlainAscii(localeCharset) ? "UTF-8" : std::string(localeCharset);
  return binding;
}

std::string LocaleCharset() {
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

TerminalConsole::TerminalConsole(std::istream& in, std::ostream& out,
                                 const TerminalBinding& binding)
    : in_(in), out_(out) {
  // A set that iconv does not know leaves that side raw: the game still
  // plays, only its Japanese does not show.
  if (binding.convertOutput) {
    toTerminal_ = std::make_unique<Converter>(binding.charset, GameCharset);
    if (!toTerminal_->IsOpen()) toTerminal_.reset();
  }
  if (binding.convertInput) {
    fromTerminal_ = std::make_unique<Converter>(GameCharset, binding.charset);
    typedDecoder_ = std::make_unique<Converter>(OneCharacterCharset, binding.charset);
    if (!fromTerminal_->IsOpen()) fromTerminal_.reset();
  }
}

TerminalConsole::~TerminalConsole() {
  if (heldLead_.empty() || !out_) return;
  out_.put(Replacement);
  out_.flush();
}

bool TerminalConsole::ConvertsOutput() const { return toTerminal_ != nullptr; }
bool TerminalConsole::ConvertsInput() const { return fromTerminal_ != nullptr; }

void TerminalConsole::Put(std::string_view bytes) {
  if (!toTerminal_) {
    Send(bytes);
    return;
  }
  std::string text = heldLead_;
  text.append(bytes);
  heldLead_.clear();
  // Walk whole characters: a lead byte at the very end waits for its pair.
  for (std::size_t i = 0; i < text.size(); i += IsLeadByte(text[i]) ? 2u : 1u) {
    if (IsLeadByte(text[i]) && i + 1 == text.size()) {
      heldLead_ = text.substr(i);
      text.pop_back();
      break;
    }
  }
  std::string shown;
  shown.reserve(text.size() * 3 / 2);
  toTerminal_->Convert(text, shown, GameCharacterLength);
  Send(shown);
}

bool TerminalConsole::Get(std::string& line) {
  if (!std::getline(in_, line)) return false;
  if (!fromTerminal_) return true;
  std::string bytes;
  fromTerminal_->Convert(line, bytes, [this](std::string_view rest) {
    return typedDecoder_->IsOpen() ? typedDecoder_->FirstCharacterLength(rest) : 1;
  });
  line.swap(bytes);
  return true;
}

void TerminalConsole::Send(std::string_view bytes) {
  if (bytes.empty()) return;
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out_.flush();
  if (!out_) RaiseFailure(KindInOut, "標準出力に書き込めません");
}

std::unique_ptr<ConsoleDevice> BindStandardConsole() {
  const TerminalBinding binding =
      DecideTerminalBinding(isatty(STDIN_FILENO) == 1, isatty(STDOUT_FILENO) == 1, LocaleCharset());
  std::unique_ptr<ConsoleDevice> device;
  if (binding.convertOutput || binding.convertInput)
    device = std::make_unique<TerminalConsole>(std::cin, std::cout, binding);
  else
    device = std::make_unique<StreamConsole>(std::cin, std::cout);
  BindConsole(*device);
  return device;
}

}  // namespace velkor
