#include "sim/solve_cache.h"

#include <bit>
#include <cstring>

#include "platform/files.h"

namespace velkor::sim {

namespace {

constexpr std::string_view Magic = "velkor-sim table";

enum class Kind : std::uint8_t { Choices8 = 0, Choices16 = 1, Values = 2 };

// FNV-1a, 64 bits: enough to tell a damaged file, and the same everywhere.
std::uint64_t Checksum(std::string_view bytes) {
  std::uint64_t h = 0xCBF29CE484222325u;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001B3u;
  }
  return h;
}

void PutInt(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads little-endian numbers from the front of a file's bytes.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Int(int bytes, std::uint64_t& value) {
    if (bytes_.size() - at_ < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
      value |= std::uint64_t{static_cast<unsigned char>(bytes_[at_ + static_cast<std::size_t>(i)])}
               << (8 * i);
    at_ += static_cast<std::size_t>(bytes);
    return true;
  }
  bool Text(std::size_t size, std::string_view& text) {
    if (bytes_.size() - at_ < size) return false;
    text = bytes_.substr(at_, size);
    at_ += size;
    return true;
  }
  std::size_t At() const { return at_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

bool Absolute(std::string_view path) {
#ifdef _WIN32
  return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
         (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && path[0] == path[1]);
#else
  return !path.empty() && path[0] == '/';
#endif
}

std::string Join(std::string folder, std::string_view name) {
  if (!folder.empty() && folder.back() != '/' && folder.back() != platform::FolderSeparator())
    folder += platform::FolderSeparator();
  return folder + std::string(name);
}

std::string Numbers(const TFighter& fighter) {
  std::string text;
  for (const std::int32_t stat : fighter.CurStats) text += std::to_string(stat) + ",";
  for (const std::uint8_t talent : fighter.Talents) text += std::to_string(talent);
  return text;
}

const char* PlanSetName(PlanSet plans) { return plans == PlanSet::Candidates ? "candidates" : "every"; }

}  // namespace

std::string TableKey(TurnModel& model, const Build& build, std::int32_t enemy, PlanSet plans) {
  // A few turns as the engine plays them: a change of the rules or of the
  // candidates changes them, and so the key.
  std::uint64_t fingerprint = 0xCBF29CE484222325u;
  std::vector<Plan> set;
  std::vector<TurnOutcome> outcomes;
  for (const int tokens : {0, 0x1B, 0xE4, TokenStates - 1}) {
    PlansOf(model, plans, tokens, set);
    const auto mix = [&](std::uint64_t v) { fingerprint = (fingerprint ^ v) * 0x100000001B3u; };
    mix(set.size());
    for (std::size_t i = 0; i < set.size() && i < 4; ++i) {
      const Plan& plan = set[(i * 7919) % set.size()];
      for (const std::uint8_t a : plan) mix(a);
      model.Outcomes(tokens, plan, outcomes);
      for (const TurnOutcome& o : outcomes) {
        mix(std::bit_cast<std::uint64_t>(o.Chance));
        mix(o.TokensAfter);
        for (std::size_t h = 0; h < o.Hits; ++h) mix(static_cast<std::uint16_t>(o.Trace[h]));
      }
    }
  }
  char hex[17];
  for (int i = 0; i < 16; ++i) hex[i] = "0123456789abcdef"[(fingerprint >> (60 - 4 * i)) & 0xF];
  hex[16] = '\0';
  return "solver " + std::to_string(SolveFormat) + "; build " + StatsText(build) + " " +
         TalentLetters(build) + " (" + Numbers(model.Player()) + "); enemy " + std::to_string(enemy + 1) +
         " (" + Numbers(model.Enemy()) + "); plans " + PlanSetName(plans) + "; engine " + hex;
}

std::string TableFileName(const Build& build, std::int32_t enemy, PlanSet plans) {
  std::string stats = StatsText(build);
  for (char& c : stats)
    if (c == ',') c = '.';
  std::string number = std::to_string(enemy + 1);
  if (number.size() < 2) number = "0" + number;
  const std::string talents = TalentLetters(build);
  return "enemy" + number + "-" + stats + "-" + (talents == "-" ? "none" : talents) + "-" +
         PlanSetName(plans) + ".table";
}

std::string TableBytes(const SolvedTable& table, std::string_view key) {
  std::string out(Magic);
  PutInt(out, SolveFormat, 4);
  PutInt(out, key.size(), 4);
  out += key;
  PutInt(out, static_cast<std::uint32_t>(table.PlayerHP), 4);
  PutInt(out, static_cast<std::uint32_t>(table.EnemyHP), 4);
  PutInt(out, static_cast<std::uint8_t>(table.Plans), 1);
  PutInt(out, table.MindEye ? 1 : 0, 1);
  PutInt(out, std::bit_cast<std::uint64_t>(table.StartValue), 8);
  Kind kind = Kind::Values;
  if (!table.MindEye) {
    kind = Kind::Choices8;
    for (const std::uint16_t c : table.Choice)
      if (c > 0xFF) kind = Kind::Choices16;
  }
  PutInt(out, static_cast<std::uint8_t>(kind), 1);
  switch (kind) {
    case Kind::Choices8:
    case Kind::Choices16: {
      // Neighbouring states mostly share their choice: runs of one choice,
      // each its value and its length in 7-bit groups.
      PutInt(out, table.Choice.size(), 8);
      const int width = kind == Kind::Choices8 ? 1 : 2;
      for (std::size_t at = 0; at < table.Choice.size();) {
        std::size_t end = at;
        while (end < table.Choice.size() && table.Choice[end] == table.Choice[at]) ++end;
        PutInt(out, table.Choice[at], width);
        for (std::uint64_t run = end - at; run != 0; run >>= 7)
          out.push_back(static_cast<char>((run & 0x7F) | (run > 0x7F ? 0x80 : 0)));
        at = end;
      }
      break;
    }
    case Kind::Values:
      PutInt(out, table.Value.size(), 8);
      for (const float v : table.Value) PutInt(out, std::bit_cast<std::uint32_t>(v), 4);
      break;
  }
  PutInt(out, Checksum(out), 8);
  return out;
}

std::optional<SolvedTable> TableFromBytes(std::string_view bytes, std::string_view key) {
  if (bytes.size() < Magic.size() + 8 || bytes.substr(0, Magic.size()) != Magic) return std::nullopt;
  const std::string_view body = bytes.substr(0, bytes.size() - 8);
  Reader tail(bytes.substr(body.size()));
  std::uint64_t sum = 0;
  if (!tail.Int(8, sum) || sum != Checksum(body)) return std::nullopt;

  Reader in(body.substr(Magic.size()));
  std::uint64_t format = 0, keySize = 0, playerHP = 0, enemyHP = 0, plans = 0, mindEye = 0, start = 0;
  std::uint64_t kind = 0, count = 0;
  std::string_view storedKey;
  if (!in.Int(4, format) || format != SolveFormat || !in.Int(4, keySize) || !in.Text(keySize, storedKey) ||
      storedKey != key || !in.Int(4, playerHP) || !in.Int(4, enemyHP) || !in.Int(1, plans) ||
      !in.Int(1, mindEye) || !in.Int(8, start) || !in.Int(1, kind) || !in.Int(8, count))
    return std::nullopt;
  SolvedTable table;
  if (playerHP < 1 || playerHP > 100000 || enemyHP < 1 || enemyHP > 100000 || plans > 1 || mindEye > 1 ||
      kind > 2)
    return std::nullopt;
  table.PlayerHP = static_cast<std::int32_t>(playerHP);
  table.EnemyHP = static_cast<std::int32_t>(enemyHP);
  table.Plans = static_cast<PlanSet>(plans);
  table.MindEye = mindEye != 0;
  table.StartValue = std::bit_cast<double>(start);
  const std::uint64_t states = std::uint64_t{TokenStates} * playerHP * enemyHP;
  const std::size_t left = body.size() - Magic.size() - in.At();
  if (count != states || (kind == 2) != table.MindEye) return std::nullopt;
  if (kind == 2) {
    if (left != count * 4) return std::nullopt;
    table.Value.resize(count);
    for (float& v : table.Value) {
      std::uint64_t bits = 0;
      in.Int(4, bits);
      v = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    }
    return table;
  }
  const int width = kind == 0 ? 1 : 2;
  table.Choice.reserve(count);
  while (table.Choice.size() < count) {
    std::uint64_t value = 0;
    std::uint64_t run = 0;
    std::uint64_t group = 0x80;
    if (!in.Int(width, value)) return std::nullopt;
    for (int shift = 0; (group & 0x80) != 0; shift += 7) {
      if (shift > 56 || !in.Int(1, group)) return std::nullopt;
      run |= (group & 0x7F) << shift;
    }
    if (run == 0 || run > count - table.Choice.size()) return std::nullopt;
    table.Choice.insert(table.Choice.end(), run, static_cast<std::uint16_t>(value));
  }
  if (body.size() - Magic.size() != in.At()) return std::nullopt;
  return table;
}

std::string DefaultCacheFolder(const char* (*env)(const char* name)) {
  const auto absolute = [&](const char* name) -> std::string {
    const char* value = env(name);
    return value != nullptr && Absolute(value) ? std::string(value) : std::string();
  };
  // The program's own variable is the user's word for it, as --cache is.
  if (const char* own = env("VELKOR_SIM_CACHE"); own != nullptr && *own != '\0') return own;
#ifdef _WIN32
  if (std::string local = absolute("LOCALAPPDATA"); !local.empty()) return Join(local, "velkor-sim");
#endif
  if (std::string xdg = absolute("XDG_CACHE_HOME"); !xdg.empty()) return Join(xdg, "velkor-sim");
  if (std::string home = absolute("HOME"); !home.empty()) return Join(Join(home, ".cache"), "velkor-sim");
  return {};
}

}  // namespace velkor::sim
