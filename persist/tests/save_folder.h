#pragma once
// What the tests of save.dat share: a defined character, its sealed image,
// and a fresh folder for every test and every case.

#include <gtest/gtest.h>

#include <string>

#include "persist/save_file.h"
#include "platform/cp932_literal.h"
#include "platform/file_writer.h"
#include "testsupport/test_files.h"

namespace velkor::test {

inline const std::string SaveFailed = std::string(SaveFailedMessage) + "\r\n";

// A defined character whose meaningless bytes (name storage past the length,
// the two gaps) are not zero, as after loading an older file.
inline TPlayer Defined() {
  TPlayer p{};
  p.Name.Assign("ジークフリート12"_cp);  // 16 bytes
  p.Name.Assign("ユウ"_cp);              // storage past the 4 bytes keeps the rest
  p.NameGap = {0xA1, 0x00, 0x7F};
  p.BaseStats = {100, 20, 25, 5};  // with the talents, 96 of the 100 points
  p.CurStats = p.BaseStats;
  p.Talents = {1, 0, 1, 1};
  p.TailGap = 0xEE;
  return p;
}

// Every test runs in a fresh folder of its own, which it leaves again.
class SaveFolder : public ::testing::Test {
 protected:
  // Seals p as SavePlayer would.
  static std::string SealedImage(TPlayer p) {
    StoreChecksum(p);
    return ImageBytes(p);
  }

 private:
  ScopedTempDir folder_;
  ScopedWorkingDir inside_{folder_.Path()};
};

// Each case in a folder of its own inside the test's folder.
class CaseFolder {
 public:
  explicit CaseFolder(int number) : name_("case" + std::to_string(number)) { EXPECT_TRUE(MakeFolder(name_)); }

  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace velkor::test
