#include "testsupport/environment.h"

#include <cstdlib>

namespace velkor::test {

namespace {

void SetOrRemove(const std::string& name, const char* value) {
  if (value != nullptr) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}

}  // namespace

void ScopedEnvironment::Set(const std::string& name, const char* value) {
  if (saved_.find(name) == saved_.end()) {
    const char* old = std::getenv(name.c_str());
    saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
  }
  SetOrRemove(name, value);
}

void ScopedEnvironment::Restore() {
  for (const auto& [name, value] : saved_) SetOrRemove(name, value ? value->c_str() : nullptr);
  saved_.clear();
}

}  // namespace velkor::test
