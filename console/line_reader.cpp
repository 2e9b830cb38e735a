#include "console/line_reader.h"

#include <istream>
#include <limits>

#include "console/failure.h"
#include "platform/cp932_literal.h"

namespace velkor {

bool ReadBoundedLine(std::istream& in, std::string& line) {
  // One byte more than is kept whole, and one for getline's terminator.
  char buffer[MaxLineBytes + 2];
  in.getline(buffer, sizeof buffer);
  const auto taken = static_cast<std::size_t>(in.gcount());
  if (in.bad()) RaiseFailure(KindInOut, "標準入力を読めません"_cp);
  if (in.fail() && taken == 0) return false;  // nothing was left
  std::size_t kept = taken;
  if (in.fail()) {
    // The buffer filled before the LF came: drop the rest of the line.
    in.clear();
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    if (in.bad()) RaiseFailure(KindInOut, "標準入力を読めません"_cp);
  } else if (!in.eof()) {
    --kept;  // the LF was taken too
  }
  line.assign(buffer, kept);
  return true;
}

}  // namespace velkor
