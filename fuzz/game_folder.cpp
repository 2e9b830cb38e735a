#include "fuzz/game_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "fuzz/require.h"

namespace velkor::fuzz {

namespace {

namespace fs = std::filesystem;

// Removes a folder this process made when the process ends normally.
class MadeFolder {
 public:
  ~MadeFolder() {
    if (path_.empty()) return;
    std::error_code error;
    fs::current_path(fs::temp_directory_path(error), error);
    fs::remove_all(path_, error);
  }
  void Set(const fs::path& path) { path_ = path; }

 private:
  fs::path path_;
};

MadeFolder madeFolder;

fs::path MakeFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/velkor-fuzz-XXXXXX";
  Require(::mkdtemp(pattern.data()) != nullptr, "cannot make a game folder");
  madeFolder.Set(pattern);
  return pattern;
}

}  // namespace

void EnterGameFolder() {
  static bool entered = false;
  if (entered) return;
  entered = true;
  const char* named = std::getenv("VELKOR_FUZZ_FOLDER");
  const fs::path folder = named != nullptr && *named != '\0' ? fs::path(named) : MakeFolder();
  std::error_code error;
  fs::create_directories(folder, error);
  Require(!error, "cannot make the game folder");
  if (!fs::exists(folder / "dat", error)) {
    fs::copy(VELKOR_DAT_DIR, folder / "dat", fs::copy_options::recursive, error);
    Require(!error, "cannot copy dat/ into the game folder");
  }
  fs::current_path(folder, error);
  Require(!error, "cannot enter the game folder");
}

void ClearGameFolder() {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(".", error)) {
    if (entry.path().filename() == "dat") continue;
    fs::remove_all(entry.path(), error);
    Require(!error, "cannot clear the game folder");
  }
  Require(!error, "cannot list the game folder");
}

bool ReadFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  Require(out.good(), "cannot write a file in the game folder");
}

}  // namespace velkor::fuzz
