// Writes the code page 932 table that the WebAssembly build converts with
// (platform/cp932_table_data.h), from this system's iconv, so that a name
// typed in the browser gives the same save.dat bytes as on Linux: every
// single byte and lead/trail pair that iconv decodes, and for every Unicode
// character the bytes iconv encodes it as (its choice among the duplicated
// NEC and IBM rows). Run: make_cp932_table > platform/cp932_table_data.h
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

// One exact conversion of in; false when iconv refuses or approximates.
bool Convert(iconv_t cd, const char* in, std::size_t inSize, char* out, std::size_t outSize,
             std::size_t& written) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* from = const_cast<char*>(in);
  char* to = out;
  std::size_t toLeft = outSize;
  std::size_t inLeft = inSize;
  if (iconv(cd, &from, &inLeft, &to, &toLeft) != 0 || inLeft != 0) return false;
  written = outSize - toLeft;
  return true;
}

}  // namespace

int main() {
  iconv_t decode = iconv_open("UTF-32LE", "CP932");
  iconv_t encode = iconv_open("CP932", "UTF-32LE");
  if (decode == reinterpret_cast<iconv_t>(-1) || encode == reinterpret_cast<iconv_t>(-1)) {
    std::fputs("iconv knows no CP932\n", stderr);
    return 1;
  }
  std::vector<std::pair<std::uint16_t, std::uint32_t>> decoded;
  for (unsigned code = 0; code <= 0xFFFF; ++code) {
    char in[2];
    std::size_t size = 0;
    if (code < 0x100) {
      in[size++] = static_cast<char>(code);
    } else {
      in[size++] = static_cast<char>(code >> 8);
      in[size++] = static_cast<char>(code & 0xFF);
    }
    unsigned char out[8];
    std::size_t written = 0;
    if (!Convert(decode, in, size, reinterpret_cast<char*>(out), sizeof out, written) || written != 4)
      continue;
    if (code >= 0x100 && (code >> 8) < 0x81) continue;  // two characters, not a pair
    const auto byte = [&out](int at) { return static_cast<std::uint32_t>(out[at]); };
    decoded.emplace_back(code, byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  }
  std::vector<std::pair<std::uint32_t, std::uint16_t>> encoded;
  for (std::uint32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const unsigned char in[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                                 static_cast<unsigned char>(cp >> 16), static_cast<unsigned char>(cp >> 24)};
    unsigned char out[8];
    std::size_t written = 0;
    if (!Convert(encode, reinterpret_cast<const char*>(in), 4, reinterpret_cast<char*>(out), sizeof out,
                 written))
      continue;
    if (written == 1) encoded.emplace_back(cp, out[0]);
    if (written == 2) encoded.emplace_back(cp, static_cast<std::uint16_t>(out[0] << 8 | out[1]));
  }
  std::puts("// Made by tools/make_cp932_table.cpp from iconv's CP932; do not edit.");
  std::puts("// clang-format off");
  std::printf("constexpr std::size_t DecodedCount = %zu;\n", decoded.size());
  std::puts("// Code page 932 codes (a byte, or lead << 8 | trail) and their characters, by code.");
  std::puts("constexpr std::uint16_t DecodedCodes[DecodedCount] = {");
  for (std::size_t i = 0; i < decoded.size(); ++i)
    std::printf("0x%X,%s", decoded[i].first, i % 12 == 11 ? "\n" : "");
  std::puts("};\nconstexpr char32_t DecodedCharacters[DecodedCount] = {");
  for (std::size_t i = 0; i < decoded.size(); ++i)
    std::printf("0x%X,%s", decoded[i].second, i % 12 == 11 ? "\n" : "");
  std::printf("};\nconstexpr std::size_t EncodedCount = %zu;\n", encoded.size());
  std::puts("// Characters and the code iconv writes them as, by character.");
  std::puts("constexpr char32_t EncodedCharacters[EncodedCount] = {");
  for (std::size_t i = 0; i < encoded.size(); ++i)
    std::printf("0x%X,%s", encoded[i].first, i % 12 == 11 ? "\n" : "");
  std::puts("};\nconstexpr std::uint16_t EncodedCodes[EncodedCount] = {");
  for (std::size_t i = 0; i < encoded.size(); ++i)
    std::printf("0x%X,%s", encoded[i].second, i % 12 == 11 ? "\n" : "");
  std::puts("};\n// clang-format on");
  iconv_close(decode);
  iconv_close(encode);
  return 0;
}
