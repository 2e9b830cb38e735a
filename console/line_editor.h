#pragma once
// Editing a typed line on a terminal, through libedit: Backspace, Delete and
// the arrow keys move over whole characters, full-width characters take two
// columns, and the prompt is redrawn with the line. Text goes in and out in
// the terminal's own character set; converting it is the console's business.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velkor {

class LineEditor {
 public:
  // An editor on the terminal behind in and out, for a terminal that speaks
  // charset. Null when no locale reads that set or the library cannot start:
  // the console then reads lines as it does from a pipe.
  static std::unique_ptr<LineEditor> Open(std::string_view charset, std::FILE* in, std::FILE* out);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // Shows prompt at the start of the cursor's line and reads one edited line
  // into line, without its line end. The line holds at most MaxLineBytes
  // characters: more typed or pasted is refused as it arrives (with a bell),
  // so any paste takes constant memory. False at the
  // end of input (Ctrl-D on an empty line). A terminal that cannot be read
  // (one that has gone away) raises the input failure.
  bool Read(std::string_view prompt, std::string& line);

 private:
  struct Library;
  explicit LineEditor(std::unique_ptr<Library> library);
  std::unique_ptr<Library> library_;
};

}  // namespace velkor
