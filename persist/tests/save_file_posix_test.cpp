// Only on POSIX systems: links, FIFOs, devices and fork.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "persist/save_file.h"
#include "persist/tests/save_folder.h"
#include "platform/cp932_literal.h"
#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

using test::CaseFolder;
using test::ConsoleScript;
using test::Defined;
using test::ReadBytes;
using test::SaveFolder;
using test::WriteBytes;

// The name the game once wrote every save through: whatever stands there now
// neither redirects, blocks nor breaks a save, and is left as it was.
TEST_F(SaveFolder, NothingAtTheOldTemporaryNameRedirectsOrBlocksASave) {
  struct Case {
    const char* what;
    std::function<void()> make;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"a link to another file",
       [] {
         WriteBytes("victim.txt", "keep me");
         ASSERT_EQ(::symlink("victim.txt", "save.dat.tmp"), 0);
       },
       {"save.dat", "save.dat.tmp", "victim.txt"}},
      {"a folder", [] { ASSERT_TRUE(test::MakeFolder("save.dat.tmp")); }, {"save.dat", "save.dat.tmp"}},
      {"a FIFO", [] { ASSERT_EQ(::mkfifo("save.dat.tmp", 0644), 0); }, {"save.dat", "save.dat.tmp"}},
  };
  int number = 0;
  for (const Case& c : cases) {
    const CaseFolder folder(number++);
    const test::ScopedWorkingDir inside(folder.Name());
    c.make();
    struct stat before {};
    ASSERT_EQ(::lstat("save.dat.tmp", &before), 0) << c.what;
    ConsoleScript script({});
    TPlayer& Player = script.Player;
    Player = Defined();
    EXPECT_TRUE(SavePlayer(script.Console(), Player)) << c.what;
    EXPECT_EQ(script.Output(), "") << c.what;

    struct stat saved {};
    ASSERT_EQ(::lstat("save.dat", &saved), 0) << c.what;
    EXPECT_TRUE(S_ISREG(saved.st_mode)) << c.what;
    EXPECT_EQ(ReadBytes("save.dat"), ImageBytes(Player)) << c.what;
    struct stat after {};
    ASSERT_EQ(::lstat("save.dat.tmp", &after), 0) << c.what;
    EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
    EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
    EXPECT_EQ(test::FolderEntries("."), c.entries) << c.what;
    if (test::Exists("victim.txt")) {
      EXPECT_EQ(ReadBytes("victim.txt"), "keep me");
    }
  }
}

// Two processes saving at once, again and again: every read in between sees
// one whole file, and no temporary file is left behind.
TEST_F(SaveFolder, SavesRacingEachOtherLeaveOneWholeFile) {
  TPlayer records[2] = {Defined(), Defined()};
  records[0].Name.Assign("一"_cp);
  records[1].Name.Assign("二"_cp);
  std::string images[2];
  for (int i = 0; i < 2; ++i) images[i] = SealedImage(records[i]);

  pid_t children[2];
  for (int i = 0; i < 2; ++i) {
    children[i] = ::fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) {
      Console console;
      TPlayer player = records[i];
      for (int round = 0; round < 100; ++round)
        if (!SavePlayer(console, player)) ::_exit(1);
      ::_exit(0);
    }
  }
  int torn = 0;
  int running = 2;
  int statuses[2] = {-1, -1};
  while (running > 0) {
    const std::string file = ReadBytes("save.dat");
    if (!file.empty() && file != images[0] && file != images[1]) ++torn;
    for (int i = 0; i < 2; ++i) {
      if (children[i] > 0 && ::waitpid(children[i], &statuses[i], WNOHANG) == children[i]) {
        children[i] = 0;
        --running;
      }
    }
  }
  for (const int status : statuses) {
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(torn, 0);
  const std::string last = ReadBytes("save.dat");
  EXPECT_TRUE(last == images[0] || last == images[1]);
  EXPECT_EQ(test::FolderEntries("."), std::vector<std::string>{"save.dat"});
}

// A FIFO or a device is never waited on: it is a file that cannot be read.
TEST_F(SaveFolder, AnythingButARegularFileIsAReadFailure) {
  struct Case {
    const char* what;
    std::function<void()> make;
    std::string message;
  };
  const std::string readFailed = std::string(LoadFailedMessage) + "\r\n";
  const Case cases[] = {
      {"a FIFO", [] { ASSERT_EQ(::mkfifo("save.dat", 0644), 0); }, readFailed},
      {"a link to an endless device", [] { ASSERT_EQ(::symlink("/dev/zero", "save.dat"), 0); }, readFailed},
      {"a link to itself", [] { ASSERT_EQ(::symlink("save.dat", "save.dat"), 0); }, readFailed},
      {"a link to nothing", [] { ASSERT_EQ(::symlink("nowhere", "save.dat"), 0); }, ""},
  };
  int number = 0;
  for (const Case& c : cases) {
    const CaseFolder folder(number++);
    const test::ScopedWorkingDir inside(folder.Name());
    c.make();
    ConsoleScript script({});
    EXPECT_FALSE(LoadPlayer(script.Console(), script.Player)) << c.what;
    EXPECT_EQ(script.Output(), c.message) << c.what;
  }
}

// Whatever refused thing stands at save.dat is moved aside as save.dat.bad,
// itself and not a copy (a huge file costs no time and no disk), and the new
// save takes its place: a socket or a link loop never blocks saving.
TEST_F(SaveFolder, RefusedThingInTheFilesPlaceIsMovedAsideNotCopied) {
  struct Case {
    const char* what;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"a FIFO", [] { ASSERT_EQ(::mkfifo("save.dat", 0644), 0); }},
      {"a socket",
       [] {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strcpy(address.sun_path, "save.dat");
         ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
         ::close(fd);
       }},
      {"a link to itself", [] { ASSERT_EQ(::symlink("save.dat", "save.dat"), 0); }},
      {"a gigabyte, sparse: really allocated only if it were copied",
       [] {
         WriteBytes("save.dat", "");
         ASSERT_EQ(::truncate("save.dat", 1L << 30), 0);
       }},
  };
  int number = 0;
  for (const Case& c : cases) {
    const CaseFolder folder(number++);
    const test::ScopedWorkingDir inside(folder.Name());
    c.make();
    struct stat before {};
    ASSERT_EQ(::lstat("save.dat", &before), 0) << c.what;
    ConsoleScript script({});
    TPlayer& Player = script.Player;
    Player = Defined();
    EXPECT_TRUE(SavePlayer(script.Console(), Player)) << c.what;
    EXPECT_EQ(script.Output(), "") << c.what;
    EXPECT_EQ(ReadBytes("save.dat"), ImageBytes(Player)) << c.what;
    struct stat kept {};
    ASSERT_EQ(::lstat("save.dat.bad", &kept), 0) << c.what;
    EXPECT_EQ(kept.st_ino, before.st_ino) << c.what;
    EXPECT_EQ(test::FolderEntries("."), (std::vector<std::string>{"save.dat", "save.dat.bad"})) << c.what;
  }
}

}  // namespace
}  // namespace velkor
