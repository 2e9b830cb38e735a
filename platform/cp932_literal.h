#pragma once
// The game's texts are written as UTF-8 in the sources and made code page 932
// by the compiler, with the table made from iconv: "攻撃"_cp is an array of
// const char with a final zero, in static storage, as a string literal is,
// and serves where one does (a const char*, a std::string or string_view,
// sizeof, a table of texts). Adjacent literals join first: "a" "b"_cp
// converts both. A character that code page 932 lacks, or bytes that are not
// UTF-8, stop the compile.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "platform/cp932_table.h"
#include "platform/utf8.h"

namespace velkor {

namespace platform {

// Never defined, and not constexpr: a conversion that reaches one stops the
// compile, and the message names it.
void LiteralIsNotUtf8();
void CharacterHasNoCodePage932Form();

// The code page 932 bytes of a UTF-8 text: never more than its UTF-8 bytes.
template <std::size_t N>
struct Cp932Conversion {
  char Bytes[N]{};
  std::size_t Size = 0;
};

// Kept lean: compilers interpret this for every character of every text.
template <std::size_t N>
consteval Cp932Conversion<N> ConvertToCp932(const char (&utf8)[N]) {
  Cp932Conversion<N> out;
  for (std::size_t at = 0; at < N;) {
    const Utf8Character read = DecodeUtf8(utf8 + at, N - at);
    if (read.length == 0) LiteralIsNotUtf8();
    const std::optional<std::uint16_t> code = UnicodeToCp932(read.character);
    if (!code) CharacterHasNoCodePage932Form();
    if (*code > 0xFF) out.Bytes[out.Size++] = static_cast<char>(*code >> 8);
    out.Bytes[out.Size++] = static_cast<char>(*code & 0xFF);
    at += read.length;
  }
  return out;
}

template <char... Text>
inline constexpr Cp932Conversion Converted = ConvertToCp932<sizeof...(Text) + 1>({Text..., '\0'});

template <std::size_t N>
struct Cp932Bytes {
  char Bytes[N];
};

template <char... Text>
consteval auto TrimmedCp932() {
  Cp932Bytes<Converted<Text...>.Size> bytes{};
  for (std::size_t i = 0; i < Converted<Text...>.Size; ++i) bytes.Bytes[i] = Converted<Text...>.Bytes[i];
  return bytes;
}

// One array for each text, however many sources write it.
template <char... Text>
inline constexpr auto Cp932Literal = TrimmedCp932<Text...>();

}  // namespace platform

// The text comes as a pack of chars, the form GCC and clang share as an
// extension: clang before 16 crashes wherever its messages print a literal
// of the standard form (one template parameter of class type). Constexpr,
// not consteval, which those clangs refuse in default arguments: the
// conversion is the constant initialization of Cp932Literal either way.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#ifdef __clang__
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#endif
template <typename Char, Char... Text>
constexpr const auto& operator""_cp() {
  static_assert(std::is_same_v<Char, char> || std::is_same_v<Char, char8_t>, "_cp converts UTF-8 texts");
  return platform::Cp932Literal<static_cast<char>(Text)...>.Bytes;
}
#pragma GCC diagnostic pop

}  // namespace velkor
