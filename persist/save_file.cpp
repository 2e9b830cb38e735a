#include "persist/save_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "console/console_io.h"

namespace velkor {

SaveWriter SaveWrite = ::write;

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = SaveWrite(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads up to size bytes; the count read, or -1 on an error.
ssize_t ReadUpTo(int fd, std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// The new image goes to a temporary file that is flushed to the disk and
// only then renamed over the old one, so that a crash or a full disk in
// mid-write never leaves a damaged or empty save behind.
bool ReplaceSaveFile(const PlayerImage& image) {
  const std::string temporary = std::string(SaveFileName) + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, image.data(), image.size()) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), SaveFileName) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

bool Sealed(const TPlayer& player) {
  // Compared by its length byte as well: Text() stops at ten bytes, so a
  // length of 11 would otherwise pass with the right letters.
  return player.Checksum.Length == 10 && player.Checksum.Text() == CalcChecksum(player);
}

}  // namespace

bool SavePlayer() {
  StoreChecksum(Player);
  return ReplaceSaveFile(ToImage(Player));
}

bool LoadPlayer() {
  // Read-only, so that a write-protected save.dat loads.
  const int fd = ::open(SaveFileName, O_RDONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return false;
  PlayerImage image{};
  bool whole = false;
  if (fd >= 0) {
    whole = ReadUpTo(fd, image.data(), image.size()) == static_cast<ssize_t>(image.size());
    ::close(fd);
  }
  if (!whole) {
    WriteLine(LoadFailedMessage);
    return false;
  }
  Player = FromImage(image);
  // A name longer than the record can hold only comes from a file made
  // outside the game; it is refused like a wrong checksum.
  if (!Sealed(Player) || Player.Name.Length > decltype(Player.Name)::Capacity) {
    WriteLine(BadContentMessage);
    return false;
  }
  return true;
}

}  // namespace velkor
