#include "persist/save_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "persist/tests/save_folder.h"
#include "platform/cp932_literal.h"
#include "platform/file_writer.h"
#include "testsupport/console_script.h"
#include "testsupport/system.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

using test::CaseFolder;
using test::ConsoleScript;
using test::Defined;
using test::ReadBytes;
using test::SaveFailed;
using test::SaveFolder;
using test::WriteBytes;

TEST_F(SaveFolder, SavedFileLoadsBackByteForByte) {
  ConsoleScript script({});
  Console& console = script.Console();
  TPlayer& Player = script.Player;
  Player = Defined();
  ASSERT_TRUE(SavePlayer(console, Player));
  const TPlayer saved = Player;
  EXPECT_EQ(saved.Checksum.Length, 10);
  EXPECT_EQ(saved.Checksum.Text(), CalcChecksum(Defined()));
  const std::string file = ReadBytes("save.dat");
  EXPECT_EQ(file, ImageBytes(saved));
  EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"});

  Player = TPlayer{};
  EXPECT_TRUE(LoadPlayer(console, Player));
  EXPECT_EQ(ImageBytes(Player), file);
  EXPECT_EQ(script.Output(), "");

  // Sealing the same record again gives the same file.
  ASSERT_TRUE(SavePlayer(console, Player));
  EXPECT_EQ(ReadBytes("save.dat"), file);
}

TEST_F(SaveFolder, MissingFileIsNothingToLoadAndSaysNothing) {
  ConsoleScript script({});
  TPlayer& Player = script.Player;
  Player = Defined();
  EXPECT_FALSE(LoadPlayer(script.Console(), Player));
  EXPECT_EQ(ImageBytes(Player), ImageBytes(Defined()));
  EXPECT_EQ(script.Output(), "");
}

TEST_F(SaveFolder, FilesThatAreShortOrWrongAreRefusedWithTheirMessage) {
  const std::string valid = SealedImage(Defined());
  const std::string readFailed = std::string(LoadFailedMessage) + "\r\n";
  const std::string badContent = std::string(BadContentMessage) + "\r\n";

  TPlayer longName = Defined();
  longName.Name.Assign("1234567890123456");
  longName.Name.Length = 17;  // matches its checksum, but the record cannot hold it
  TPlayer fullName = Defined();
  fullName.Name.Assign("1234567890123456");
  std::string wrongLetter = valid;
  wrongLetter[57 + 4] = wrongLetter[57 + 4] == 'a' ? 'b' : 'a';
  std::string length9 = valid, length11 = valid;
  length9[56] = 9;
  length11[56] = 11;  // the ten letters are right, the length is not
  std::string zeroLength = valid;
  zeroLength[56] = 0;

  struct Case {
    const char* what;
    std::string file;
    bool loads;
    std::string message;
  };
  const Case cases[] = {
      {"68 bytes", valid, true, ""},
      {"69 bytes", valid + "x", true, ""},
      {"68 bytes and a long tail", valid + std::string(1000, '\0'), true, ""},
      {"67 bytes", valid.substr(0, 67), false, readFailed},
      {"empty", "", false, readFailed},
      {"a letter of the checksum replaced", wrongLetter, false, badContent},
      {"checksum length 9", length9, false, badContent},
      {"checksum length 11", length11, false, badContent},
      {"checksum length 0", zeroLength, false, badContent},
      {"never sealed", ImageBytes(Defined()), false, badContent},
      {"name of 16 bytes", SealedImage(fullName), true, ""},
      {"name length 17 under a right checksum", SealedImage(longName), false, badContent},
  };
  for (const Case& c : cases) {
    WriteBytes("save.dat", c.file);
    ConsoleScript script({});
    TPlayer& Player = script.Player;
    EXPECT_EQ(LoadPlayer(script.Console(), Player), c.loads) << c.what;
    EXPECT_EQ(script.Output(), c.message) << c.what;
    // A refused checksum leaves the file's contents in the record.
    if (c.message == badContent) {
      EXPECT_EQ(ImageBytes(Player), c.file.substr(0, 68)) << c.what;
    }
  }
}

TEST_F(SaveFolder, FolderNamedLikeTheFileIsAReadFailure) {
  ASSERT_TRUE(test::MakeFolder("save.dat"));
  ConsoleScript script({});
  EXPECT_FALSE(LoadPlayer(script.Console(), script.Player));
  EXPECT_EQ(script.Output(), std::string(LoadFailedMessage) + "\r\n");
}

TEST_F(SaveFolder, WriteProtectedFileLoads) {
  WriteBytes("save.dat", SealedImage(Defined()));
  test::SetPermissions("save.dat", 0444);
  ConsoleScript script({});
  EXPECT_TRUE(LoadPlayer(script.Console(), script.Player));
  EXPECT_EQ(script.Output(), "");
}

// Any single byte of a saved file raised or lowered by one is refused:
// outside the checksum field the digits all move (their multipliers are
// coprime to 52); inside it the stored letters or length no longer match.
TEST_F(SaveFolder, EveryByteChangedByOneIsRefused) {
  const std::string valid = SealedImage(Defined());
  for (std::size_t offset = 0; offset < 68; ++offset) {
    for (const int step : {+1, -1}) {
      std::string file = valid;
      file[offset] = static_cast<char>(static_cast<unsigned char>(file[offset]) + step);
      WriteBytes("save.dat", file);
      ConsoleScript script({});
      EXPECT_FALSE(LoadPlayer(script.Console(), script.Player)) << "offset " << offset << " step " << step;
      EXPECT_EQ(script.Output(), std::string(BadContentMessage) + "\r\n") << "offset " << offset;
    }
  }
}

// A refused file's meaningless bytes stay in the record through ClearPlayer
// and are written into the next file, which still loads.
TEST_F(SaveFolder, NewFileAfterARefusedOneCarriesItsSpareBytes) {
  std::string old = SealedImage(Defined());
  old[60] = old[60] == 'a' ? 'b' : 'a';
  WriteBytes("save.dat", old);
  ConsoleScript script({});
  Console& console = script.Console();
  TPlayer& Player = script.Player;
  ASSERT_FALSE(LoadPlayer(console, Player));
  ClearPlayer(Player);
  Player.Name.Assign("A");
  Player.BaseStats = {50, 10, 10, 10};
  RestoreStats(Player);
  ASSERT_TRUE(SavePlayer(console, Player));

  const std::string file = ReadBytes("save.dat");
  ASSERT_EQ(file.size(), 68u);
  EXPECT_EQ(file[0], 1);
  EXPECT_EQ(file[1], 'A');
  EXPECT_EQ(file.substr(2, 18), old.substr(2, 18));  // name storage and gap
  EXPECT_EQ(file[67], old[67]);
  EXPECT_EQ(file.substr(52, 4), std::string(4, '\0'));  // talents cleared
  Player = TPlayer{};
  EXPECT_TRUE(LoadPlayer(console, Player));
}

// Writes the first few bytes, then fails as a full disk would.
std::ptrdiff_t FailAfterTwentyBytes(platform::FileHandle fd, const void* data, std::size_t size) {
  static std::size_t written = 0;
  if (written >= 20) {
    written = 0;
    errno = ENOSPC;
    return -1;
  }
  const std::size_t n = std::min<std::size_t>(size, 20 - written);
  written += n;
  return platform::SystemWrite(fd, data, n);
}

std::ptrdiff_t FailAtOnce(platform::FileHandle, const void*, std::size_t) {
  errno = EIO;
  return -1;
}

std::ptrdiff_t OneByteAtATime(platform::FileHandle fd, const void* data, std::size_t) {
  return platform::SystemWrite(fd, data, 1);
}

TEST_F(SaveFolder, FailedWriteKeepsTheOldSaveAndSaysSo) {
  {
    ConsoleScript script({});
    script.Player = Defined();
    ASSERT_TRUE(SavePlayer(script.Console(), script.Player));
  }
  const std::string old = ReadBytes("save.dat");

  for (const platform::FileWriter writer : {FailAfterTwentyBytes, FailAtOnce}) {
    ConsoleScript script({});
    Console& console = script.Console();
    TPlayer& Player = script.Player;
    Player = Defined();
    Player.Name.Assign("別人"_cp);
    Player.BaseStats = {5, 5, 5, 5};
    EXPECT_FALSE(SavePlayer(console, Player, writer));
    EXPECT_EQ(ReadBytes("save.dat"), old);
    EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"});
    EXPECT_EQ(script.Output(), SaveFailed);
    // The record in memory is sealed all the same.
    EXPECT_EQ(Player.Checksum.Text(), CalcChecksum(Player));
    EXPECT_TRUE(LoadPlayer(console, Player));
    EXPECT_EQ(ReadBytes("save.dat"), old);
  }
}

TEST_F(SaveFolder, FailedFirstWriteLeavesNoFileAtAll) {
  ConsoleScript script({});
  Console& console = script.Console();
  TPlayer& Player = script.Player;
  Player = Defined();
  EXPECT_FALSE(SavePlayer(console, Player, FailAfterTwentyBytes));
  EXPECT_TRUE(test::FolderEntries(".").empty());
  EXPECT_FALSE(LoadPlayer(console, Player));
  EXPECT_EQ(script.Output(), SaveFailed);
}

TEST_F(SaveFolder, WriteTakenInSmallPiecesStillWritesTheWholeImage) {
  ConsoleScript script({});
  script.Player = Defined();
  ASSERT_TRUE(SavePlayer(script.Console(), script.Player, OneByteAtATime));
  EXPECT_EQ(ReadBytes("save.dat"), ImageBytes(script.Player));
}

// Another game starting in the same folder cleans up what killed saves left
// while this save's new file is whole but not yet in place: the save lands.
TEST_F(SaveFolder, AnotherGamesCleanUpNeverTakesASaveAboutToLand) {
  VELKOR_NOT_ON_WEB("no file locks and no threads");
  const platform::FileWriter pausedBeforeMove(platform::SystemWrite, [] {
    std::thread otherGame(RemoveSaveLeftovers);
    otherGame.join();
  });
  ConsoleScript script({});
  script.Player = Defined();
  EXPECT_TRUE(SavePlayer(script.Console(), script.Player, pausedBeforeMove));
  EXPECT_EQ(script.Output(), "");
  EXPECT_EQ(ReadBytes("save.dat"), ImageBytes(script.Player));
  EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"});
}

TEST_F(SaveFolder, FileThatCannotBeReplacedIsAFailedWrite) {
  // A folder in the file's place cannot be renamed over, even by root.
  ASSERT_TRUE(test::MakeFolder("save.dat"));
  ConsoleScript script({});
  TPlayer& Player = script.Player;
  Player = Defined();
  EXPECT_FALSE(SavePlayer(script.Console(), Player));
  EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"});
  EXPECT_TRUE(std::filesystem::is_directory("save.dat"));
  EXPECT_EQ(script.Output(), SaveFailed);
}

// Before a new save replaces a file that was refused, the file is kept as
// save.dat.bad, whatever its length; an older save.dat.bad gives way. A valid
// file the player declined is replaced without a copy.
TEST_F(SaveFolder, RefusedFileIsKeptBeforeItIsReplaced) {
  const std::string valid = SealedImage(Defined());
  std::string tampered = valid;
  tampered[40] = static_cast<char>(tampered[40] + 1);
  const std::string older = "an older refused file";
  struct Case {
    const char* what;
    std::string file;
    bool kept;
  };
  const Case cases[] = {
      {"one byte changed", tampered, true},
      {"67 bytes", valid.substr(0, 67), true},
      {"empty", "", true},
      {"a long tail behind a wrong checksum", tampered + std::string(300000, 'x'), true},
      {"valid", valid, false},
      {"valid with a tail", valid + "tail", false},
  };
  int number = 0;
  for (const Case& c : cases) {
    const CaseFolder folder(number++);
    const test::ScopedWorkingDir inside(folder.Name());
    WriteBytes("save.dat", c.file);
    WriteBytes("save.dat.bad", older);
    ConsoleScript script({});
    TPlayer& Player = script.Player;
    Player = Defined();
    Player.Name.Assign("新"_cp);
    EXPECT_TRUE(SavePlayer(script.Console(), Player)) << c.what;
    EXPECT_EQ(script.Output(), "") << c.what;
    EXPECT_EQ(ReadBytes("save.dat"), ImageBytes(Player)) << c.what;
    EXPECT_EQ(ReadBytes("save.dat.bad"), c.kept ? c.file : older) << c.what;
    EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"save.dat", "save.dat.bad"})) << c.what;
  }
}

// When the refused file cannot be kept, or the new one not written, it is
// not replaced either:
// the failed save is told and both files stay as they were.
TEST_F(SaveFolder, RefusedFileThatCannotBeKeptIsNotReplaced) {
  std::string tampered = SealedImage(Defined());
  tampered[40] = static_cast<char>(tampered[40] + 1);
  struct Case {
    const char* what;
    std::function<void()> make;
    platform::FileWriter writer;
  };
  const Case cases[] = {
      {"a folder that holds something at save.dat.bad",
       [] {
         ASSERT_TRUE(test::MakeFolder("save.dat.bad"));
         WriteBytes("save.dat.bad/inside", "x");
       },
       platform::SystemWrite},
      {"a full disk", [] { WriteBytes("save.dat.bad", "older"); }, FailAfterTwentyBytes},
  };
  int number = 0;
  for (const Case& c : cases) {
    const CaseFolder folder(number++);
    const test::ScopedWorkingDir inside(folder.Name());
    WriteBytes("save.dat", tampered);
    c.make();
    const std::vector<std::string> entries = test::FolderEntries(".");
    ConsoleScript script({});
    TPlayer& Player = script.Player;
    Player = Defined();
    EXPECT_FALSE(SavePlayer(script.Console(), Player, c.writer)) << c.what;
    EXPECT_EQ(script.Output(), SaveFailed) << c.what;
    EXPECT_EQ(ReadBytes("save.dat"), tampered) << c.what;
    EXPECT_EQ(test::FolderEntries("."), entries) << c.what;
  }
  EXPECT_EQ(ReadBytes("case1/save.dat.bad"), "older");
}

// A host that keeps the files elsewhere too (the browser page) hears of the
// new save and of the refused file kept, in one call, with the file already
// in place; a host that did not store them makes it a failed save.
struct HostCalls {
  static inline std::vector<std::string> told;
  static inline bool stores = true;
  static bool Replaced(const std::string& target, const std::string& keptAs) {
    told.push_back(target + " kept as [" + keptAs + "] holding " +
                   ReadBytes(keptAs.empty() ? target : keptAs));
    return stores;
  }
  static bool Appended(const std::string&, std::string_view) { return stores; }
};

TEST_F(SaveFolder, TheHostIsToldOfTheSaveAndTheKeptFileAsOneChange) {
  struct Case {
    const char* what;
    const char* before;  // save.dat before the save, or nullptr
    bool stores;
    bool saved;
    const char* told;  // what the host heard, the new image written as "new"
  };
  const Case cases[] = {
      {"a first save", nullptr, true, true, "save.dat kept as [] holding new"},
      {"a refused file kept", "refused", true, true, "save.dat kept as [save.dat.bad] holding refused"},
      {"a host that did not store the save", nullptr, false, false, "save.dat kept as [] holding new"},
      {"nor the kept file", "refused", false, false, "save.dat kept as [save.dat.bad] holding refused"},
  };
  int number = 0;
  for (const Case& c : cases) {
    const CaseFolder folder(number++);
    const test::ScopedWorkingDir inside(folder.Name());
    if (c.before != nullptr) WriteBytes("save.dat", c.before);
    HostCalls::told.clear();
    HostCalls::stores = c.stores;
    ConsoleScript script({});
    script.Player = Defined();
    const platform::FileHooks host{HostCalls::Replaced, HostCalls::Appended};
    EXPECT_EQ(SavePlayer(script.Console(), script.Player, platform::SystemWrite, host), c.saved) << c.what;
    EXPECT_EQ(script.Output(), c.saved ? "" : SaveFailed) << c.what;
    std::string told = HostCalls::told.size() == 1 ? HostCalls::told[0] : "not one call";
    const std::string image = ImageBytes(script.Player);
    if (const std::size_t at = told.find(image); at != std::string::npos)
      told.replace(at, image.size(), "new");
    EXPECT_EQ(told, c.told) << c.what;
  }
}

}  // namespace
}  // namespace velkor
