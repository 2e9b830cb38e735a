// Writes the mirrored copy of one source file that clang compiles, with the
// texts of its literals already in code page 932 (see cp932_mirror.h):
//   cp932_mirror <source> <copy>
// The copy starts with a #line naming the source, so that the compiler's
// messages and the tests' failures point at the file to edit.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "tools/cp932_mirror.h"

namespace {

std::string LineDirective(const std::string& path) {
  std::string quoted;
  for (const char c : path) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return "#line 1 \"" + quoted + "\"\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cp932_mirror <source> <copy>\n");
    return 2;
  }
  const std::string sourcePath = argv[1];
  const std::filesystem::path copyPath = argv[2];
  std::ifstream in(sourcePath, std::ios::binary);
  const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    std::fprintf(stderr, "cp932_mirror: cannot read %s\n", sourcePath.c_str());
    return 1;
  }
  const velkor::tools::MirroredSource mirrored = velkor::tools::MirrorLiterals(source);
  if (!mirrored.error.empty()) {
    std::fprintf(stderr, "%s:%zu: error: %s\n", sourcePath.c_str(), mirrored.errorLine,
                 mirrored.error.c_str());
    return 1;
  }

  // Written aside and renamed, so that a build stopped half way leaves no
  // half copy that looks up to date.
  std::error_code error;
  std::filesystem::create_directories(copyPath.parent_path(), error);
  std::filesystem::path partial = copyPath;
  partial += ".part";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  out << LineDirective(std::filesystem::absolute(sourcePath).string()) << mirrored.text;
  out.close();
  if (!out) {
    std::fprintf(stderr, "cp932_mirror: cannot write %s\n", partial.c_str());
    return 1;
  }
  std::filesystem::rename(partial, copyPath, error);
  if (error) {
    std::fprintf(stderr, "cp932_mirror: cannot write %s: %s\n", copyPath.c_str(), error.message().c_str());
    return 1;
  }
  return 0;
}
