#pragma once
// The keys a terminal sends as escape sequences (the arrows, Home, End,
// Delete, the function keys, Alt with a letter), told apart as they come in,
// one character after the ESC at a time. The line editor acts on the few it
// knows and drops every other one whole, so that no part of a sequence ever
// reaches a typed line.

#include <cstddef>

namespace velkor {

enum class EditingKey { None, Left, Right, Home, End, Delete };

class EscapeSequence {
 public:
  // Takes the next character after the ESC; true once the sequence is whole.
  bool Add(char32_t c);
  // What the whole sequence stands for; None for any key the editor does not
  // use, and for what is not a key's sequence at all.
  EditingKey Key() const { return key_; }

 private:
  enum class Part { Start, Csi, Ss3, LinuxFunctionKey };
  void Finish(EditingKey key);
  Part part_ = Part::Start;
  unsigned firstNumber_ = 0;  // of a CSI sequence: "3" in ESC [ 3 ~
  bool inFirstNumber_ = true;
  std::size_t length_ = 0;
  std::size_t csiStart_ = 0;  // where its "[" came
  EditingKey key_ = EditingKey::None;
};

}  // namespace velkor
