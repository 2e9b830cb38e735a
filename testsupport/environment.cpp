#include "testsupport/environment.h"

#include <cstdlib>

#include "testsupport/system.h"

namespace velkor::test {

void ScopedEnvironment::Set(const std::string& name, const char* value) {
  if (saved_.find(name) == saved_.end()) {
    const char* old = std::getenv(name.c_str());
    saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
  }
  SetVariable(name, value);
}

void ScopedEnvironment::Restore() {
  for (const auto& [name, value] : saved_) SetVariable(name, value ? value->c_str() : nullptr);
  saved_.clear();
}

}  // namespace velkor::test
