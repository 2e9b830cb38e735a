#pragma once
// The mirrored sources that clang compiles. GCC turns the UTF-8 texts of the
// string and character literals into code page 932 bytes itself
// (-fexec-charset); clang cannot, so the build hands it a copy of every
// source in which those characters are already written as the octal escapes
// of their code page 932 bytes. Everything else is copied as it is.

#include <cstddef>
#include <string>
#include <string_view>

namespace velkor::tools {

// The copy of one source file, or where and why it could not be made.
struct MirroredSource {
  std::string text;
  // Empty when the copy was made; else the source line at fault.
  std::string error;
  std::size_t errorLine = 0;
};

// Rewrites the literals of a UTF-8 C++ source:
// - in ordinary string and character literals ("...", '...'), each non-ASCII
//   character and each universal character name (\u30A2) becomes three-digit
//   octal escapes of its code page 932 bytes, so that neither a trail byte
//   (0x5C is a backslash) nor a hex digit after it can change the meaning;
// - an ordinary raw string (R"(...)") that holds non-ASCII text becomes
//   ordinary literals, one a source line, which the compiler joins again;
// - literals with an encoding prefix (u8, u, U, L) are UTF-8, UTF-16 or
//   UTF-32 under both compilers and stay as they are, as do comments and all
//   other text.
// The copy has the same lines as the source, so line numbers still hold.
MirroredSource MirrorLiterals(std::string_view source);

}  // namespace velkor::tools
