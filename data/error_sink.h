#pragma once
// Where a routine reports a broken invariant that no input should reach: the
// game shows its error banner on the run's console and goes on, the
// simulator counts on it never coming.

#include <functional>
#include <string_view>

namespace velkor {

// Called with the name of the place where the invariant broke.
using ErrorSink = std::function<void(std::string_view place)>;

}  // namespace velkor
