#include "console/escape_sequence.h"

namespace velkor {

namespace {

constexpr char32_t Escape = 0x1B;
// Longer than any key's sequence: an endless one is cut there.
constexpr std::size_t MaxSequence = 32;

// The final letter of ESC [ ... or ESC O ...: the arrows, Home and End, with
// or without modifiers (ESC [ 1 ; 5 D is Ctrl-Left).
EditingKey KeyOfLetter(char32_t c) {
  switch (c) {
    case U'D':
      return EditingKey::Left;
    case U'C':
      return EditingKey::Right;
    case U'H':
      return EditingKey::Home;
    case U'F':
      return EditingKey::End;
    default:
      return EditingKey::None;
  }
}

// ESC [ n ~, the keys of the editing pad, as VT220 and xterm number them.
EditingKey KeyOfNumber(unsigned number) {
  switch (number) {
    case 1:
    case 7:
      return EditingKey::Home;
    case 4:
    case 8:
      return EditingKey::End;
    case 3:
      return EditingKey::Delete;
    default:
      return EditingKey::None;
  }
}

}  // namespace

void EscapeSequence::Finish(EditingKey key) { key_ = key; }

bool EscapeSequence::Add(char32_t c) {
  if (++length_ >= MaxSequence) {
    Finish(EditingKey::None);
    return true;
  }
  switch (part_) {
    case Part::Start:
      if (c == U'[') {
        part_ = Part::Csi;
        csiStart_ = length_;
        return false;
      }
      if (c == U'O') {
        part_ = Part::Ss3;
        return false;
      }
      // ESC ESC [ D is Alt-Left on some terminals: the sequence starts anew.
      if (c == Escape) return false;
      // Alt with a key, or ESC and then a key: both dropped.
      Finish(EditingKey::None);
      return true;
    case Part::Ss3:
      Finish(KeyOfLetter(c));
      return true;
    case Part::LinuxFunctionKey:
      Finish(EditingKey::None);
      return true;
    case Part::Csi:
      // The Linux console's F1 to F5 are ESC [ [ A to ESC [ [ E.
      if (c == U'[' && length_ == csiStart_ + 1) {
        part_ = Part::LinuxFunctionKey;
        return false;
      }
      if (c >= U'0' && c <= U'9') {
        // A number past any key's stays past them.
        if (inFirstNumber_ && firstNumber_ < 1000)
          firstNumber_ = firstNumber_ * 10 + static_cast<unsigned>(c - U'0');
        return false;
      }
      if (c >= 0x20 && c <= 0x3F) {  // other parameter and intermediate bytes
        inFirstNumber_ = false;
        return false;
      }
      if (c == U'~') {
        Finish(KeyOfNumber(firstNumber_));
      } else if (c >= 0x40 && c <= 0x7E) {
        Finish(KeyOfLetter(c));
      } else {
        Finish(EditingKey::None);  // broken off by a key that is no part of it
      }
      return true;
  }
  return true;
}

}  // namespace velkor
