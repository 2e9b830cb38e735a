#pragma once
// Environment variables changed for a test and put back afterwards.

#include <map>
#include <optional>
#include <string>

namespace velkor::test {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  // Sets one variable at once.
  ScopedEnvironment(const std::string& name, const char* value) { Set(name, value); }
  ~ScopedEnvironment() { Restore(); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  // Sets name to value, or removes it when value is null.
  void Set(const std::string& name, const char* value);
  // Puts every variable set so far back as it was before the first Set.
  void Restore();

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace velkor::test
