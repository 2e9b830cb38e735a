// Writes the defense factors of the damage formula (battle/defense_table_data.h),
// each worked out exactly. Run: make_defense_table > battle/defense_table_data.h
#include <cstdio>
#include <string>

#include "tools/defense_table.h"

int main() {
  const std::string text = velkor::tools::DefenseTableText();
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
