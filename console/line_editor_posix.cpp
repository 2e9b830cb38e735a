#include "console/line_editor.h"

#include <histedit.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cwchar>
#include <string>
#include <tuple>

#include "console/escape_sequence.h"
#include "console/failure.h"
#include "console/line_reader.h"
#include "platform/clock.h"
#include "platform/cp932_literal.h"
#include "platform/terminal_mode.h"

namespace velkor {

namespace {

const locale_t NoLocale = static_cast<locale_t>(0);

// A locale whose LC_CTYPE reads charset: the user's own when it speaks that
// set, else C.UTF-8 for a UTF-8 terminal (the C locale's terminal is taken to
// be UTF-8, and a named locale may not be installed).
locale_t LocaleFor(std::string_view charset) {
  const locale_t user = newlocale(LC_CTYPE_MASK, "", NoLocale);
  if (user != NoLocale) {
    if (charset == nl_langinfo_l(CODESET, user)) return user;
    freelocale(user);
  }
  if (charset == "UTF-8") return newlocale(LC_CTYPE_MASK, "C.UTF-8", NoLocale);
  return NoLocale;
}

// libedit decodes keys and measures widths by the current LC_CTYPE. The
// editor's locale is made current for this thread only while the library
// runs; the process's own locale, which the rest of the game leaves at "C",
// is never changed.
class EditorLocale {
 public:
  explicit EditorLocale(locale_t locale) : previous_(uselocale(locale)) {}
  ~EditorLocale() { uselocale(previous_); }
  EditorLocale(const EditorLocale&) = delete;
  EditorLocale& operator=(const EditorLocale&) = delete;

 private:
  locale_t previous_;
};

// Bound to keys that must put nothing into the line: Tab (there is nothing to
// complete) and Ctrl-V (it would insert the next key's raw bytes).
unsigned char InsertNothing(EditLine*, int) { return CC_NORM; }

unsigned char DeleteUnderCursor(EditLine* editor) {
  const LineInfoW* line = el_wline(editor);
  if (line->cursor == line->lastchar) return CC_ERROR;  // a beep: nothing is there
  el_cursor(editor, 1);
  el_wdeletestr(editor, 1);
  return CC_REFRESH;
}

// Ctrl-D: on an empty line it ends input as the end of a pipe does, without
// the "^D" the library would show; elsewhere it deletes as Delete does.
unsigned char EndOrDelete(EditLine* editor, int) {
  const LineInfoW* line = el_wline(editor);
  if (line->buffer == line->lastchar) return CC_EOF;
  return DeleteUnderCursor(editor);
}

// What the editor's callbacks below work with, found through the editor's
// client data (libedit calls back with nothing else).
struct EditorState {
  int fd = -1;      // the terminal, read
  int bellFd = -1;  // the terminal, written
  std::string prompt;
  mbstate_t state{};
  bool started = false;     // state holds the first bytes of a character
  bool inSequence = false;  // the rest of an escape sequence: never refused
  bool rang = false;        // the bell has rung for this line
  // The terminal while a line is read, and whether the editor's own mode
  // on it has been noted yet.
  platform::TerminalModeHold* hold = nullptr;
  bool editorModeNoted = false;
};

EditorState& StateOf(EditLine* editor) {
  void* data = nullptr;
  el_get(editor, EL_CLIENTDATA, &data);
  return *static_cast<EditorState*>(data);
}

// An ESC with nothing after it within this time is a key of its own, not the
// start of a sequence: a terminal sends a key's whole sequence at once.
constexpr int LoneEscapeMs = 50;

// Whether a byte comes from the terminal within LoneEscapeMs.
bool ByteFollowsSoon(int fd) {
  const double deadline = platform::SteadySeconds() + LoneEscapeMs / 1000.0;
  for (;;) {
    const double left = deadline - platform::SteadySeconds();
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, left > 0 ? static_cast<int>(left * 1000) + 1 : 0);
    if (ready < 0 && errno == EINTR && left > 0) continue;
    return ready > 0;
  }
}

// ESC: the whole sequence of the key that sent it is read here, so that the
// keys the editor has no use for (Page Up, F1, Alt with a letter) are
// dropped whole instead of leaving "5~" or a command prompt behind.
unsigned char EscapeKey(EditLine* editor, int) {
  EditorState& reading = StateOf(editor);
  // Escape pressed alone goes alone, and takes no key typed after it.
  if (!ByteFollowsSoon(reading.fd)) return CC_NORM;
  EscapeSequence sequence;
  wchar_t c = 0;
  reading.inSequence = true;
  bool complete = false;
  do {
    if (el_wgetc(editor, &c) != 1) break;
    complete = sequence.Add(static_cast<char32_t>(c));
  } while (!complete);
  reading.inSequence = false;
  if (!complete) return CC_EOF;
  const LineInfoW* line = el_wline(editor);
  switch (sequence.Key()) {
    case EditingKey::Left:
      el_cursor(editor, -1);
      return CC_CURSOR;
    case EditingKey::Right:
      el_cursor(editor, 1);
      return CC_CURSOR;
    case EditingKey::Home:
      el_cursor(editor, -static_cast<int>(line->cursor - line->buffer));
      return CC_CURSOR;
    case EditingKey::End:
      el_cursor(editor, static_cast<int>(line->lastchar - line->cursor));
      return CC_CURSOR;
    case EditingKey::Delete:
      return DeleteUnderCursor(editor);
    case EditingKey::None:
      break;
  }
  return CC_NORM;
}

// A stop and a continue, or a change of size, interrupted the read: the
// editor learns the new size, and after a stop draws its line again.
void CatchUp(EditLine* editor) {
  switch (platform::TakeTerminalChange()) {
    case platform::TerminalChange::None:
      break;
    case platform::TerminalChange::Resized:
      el_resize(editor);
      break;
    case platform::TerminalChange::Resumed:
      el_resize(editor);
      el_set(editor, EL_REFRESH);
      break;
  }
}

// One character from the terminal, decoded by the editor's locale: 1, or 0
// at the end of input, or -1 when the terminal cannot be read.
int ReadDecoded(EditLine* editor, EditorState& reading, wchar_t& c) {
  for (;;) {
    char byte = 0;
    const ssize_t got = ::read(reading.fd, &byte, 1);
    if (got < 0 && errno == EINTR) {
      CatchUp(editor);
      continue;
    }
    if (got <= 0) return got == 0 ? 0 : -1;
    std::size_t used = std::mbrtowc(&c, &byte, 1, &reading.state);
    if (used == static_cast<std::size_t>(-1) && reading.started) {
      // The bytes so far were no character; this one may start the next.
      reading.state = mbstate_t{};
      used = std::mbrtowc(&c, &byte, 1, &reading.state);
    }
    reading.started = used == static_cast<std::size_t>(-2);                 // more bytes of one character
    if (used == static_cast<std::size_t>(-1)) reading.state = mbstate_t{};  // not the set's: dropped
    if (used == static_cast<std::size_t>(-1) || reading.started) continue;
    return 1;
  }
}

bool Inserts(wchar_t c) { return c >= 0x20 && c != 0x7F; }

// The library's character reader, replaced so that a line never holds more
// than MaxLineBytes characters: whatever would be inserted past that is
// refused as it arrives (with one bell per line), so a paste of any size
// takes constant memory and time.
int ReadLimited(EditLine* editor, wchar_t* c) {
  EditorState& reading = StateOf(editor);
  // The editor set its mode before it asked for the first key.
  if (!reading.editorModeNoted && reading.hold != nullptr) {
    reading.hold->EditorModeSet();
    reading.editorModeNoted = true;
  }
  for (;;) {
    const int got = ReadDecoded(editor, reading, *c);
    if (got != 1) return got;
    const LineInfoW* line = el_wline(editor);
    const auto held = static_cast<std::size_t>(line->lastchar - line->buffer);
    if (reading.inSequence || !Inserts(*c) || held < MaxLineBytes) return 1;
    if (!reading.rang) {
      std::ignore = ::write(reading.bellFd, "\a", 1);
      reading.rang = true;
    }
  }
}

}  // namespace

struct LineEditor::Library {
  locale_t locale = NoLocale;
  // The library's own complaints (an unknown terminal type) would land in the
  // middle of the game's screen.
  std::FILE* complaints = nullptr;
  EditLine* editor = nullptr;
  EditorState state;

  ~Library() {
    if (editor != nullptr) {
      const EditorLocale current(locale);
      el_end(editor);
    }
    if (complaints != nullptr) std::fclose(complaints);
    if (locale != NoLocale) freelocale(locale);
  }

  static char* Prompt(EditLine* editor) { return StateOf(editor).prompt.data(); }
};

LineEditor::LineEditor(std::unique_ptr<Library> library) : library_(std::move(library)) {}

LineEditor::~LineEditor() = default;

std::unique_ptr<LineEditor> LineEditor::Open(std::string_view charset, std::FILE* in, std::FILE* out) {
  auto library = std::make_unique<Library>();
  library->locale = LocaleFor(charset);
  if (library->locale == NoLocale) return nullptr;
  library->complaints = std::fopen("/dev/null", "w");
  if (library->complaints == nullptr) return nullptr;
  const EditorLocale current(library->locale);
  EditLine* editor = el_init("velkor", in, out, library->complaints);
  if (editor == nullptr) return nullptr;
  library->editor = editor;
  // No ~/.editrc and no history: every player gets the same keys, and
  // nothing is written anywhere.
  el_set(editor, EL_CLIENTDATA, &library->state);
  el_set(editor, EL_PROMPT, &Library::Prompt);
  el_set(editor, EL_EDITOR, "emacs");
  // The library's own signal handling (EL_SIGNAL) is left off: it sends
  // each signal on to the whole process group, a wrapper script included.
  // Read holds the terminal instead (platform/terminal_mode.h).
  // The wide form keeps the names as given; the narrow one copies them and
  // never frees the copies.
  el_wset(editor, EL_ADDFN, L"velkor-insert-nothing", L"Insert nothing", &InsertNothing);
  el_wset(editor, EL_ADDFN, L"velkor-end-or-delete", L"End input or delete", &EndOrDelete);
  el_wset(editor, EL_ADDFN, L"velkor-escape-key", L"Read a key's escape sequence", &EscapeKey);
  for (const char* key : {"^I", "^V"}) el_set(editor, EL_BIND, key, "velkor-insert-nothing", nullptr);
  el_set(editor, EL_BIND, "^D", "velkor-end-or-delete", nullptr);
  el_set(editor, EL_BIND, "^[", "velkor-escape-key", nullptr);
  library->state.fd = fileno(in);
  library->state.bellFd = fileno(out);
  el_wset(editor, EL_GETCFN, &ReadLimited);
  return std::unique_ptr<LineEditor>(new LineEditor(std::move(library)));
}

bool LineEditor::Read(std::string_view prompt, std::string& line) {
  EditorState& state = library_->state;
  state.prompt.assign(prompt);
  state.rang = false;
  // The terminal's line mode is noted before the library leaves it.
  platform::TerminalModeHold hold(state.fd);
  state.hold = &hold;
  state.editorModeNoted = false;
  const EditorLocale current(library_->locale);
  int count = 0;
  const char* edited = el_gets(library_->editor, &count);
  state.hold = nullptr;
  if (edited == nullptr) {
    if (count < 0) RaiseFailure(KindInOut, "標準入力を読めません"_cp);
    return false;
  }
  std::string_view text(edited);
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  // As long a line as the line reader keeps, so that a longer one is still
  // seen as too long.
  line.assign(text.substr(0, MaxLineBytes + 1));
  return true;
}

}  // namespace velkor
