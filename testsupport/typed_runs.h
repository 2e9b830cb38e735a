#pragma once
// Whole runs typed in advance, for tests that play the built game through a
// pipe (names in code page 932).

#include <string>

namespace velkor::test {

// A definition typed in full: name, the two introduction waits, all 100
// points on the stats (so no talent menu), and "x" at the opening wait so
// that the story runs without pauses. The hunt follows with nothing typed.
inline std::string TypedDefinition(const std::string& name) {
  return "\n" + name + "\n\n\n40\n20\n20\n20\nx\n";
}

// A character that cannot act (1 point of HP, nothing else) loses its first
// battle whatever the enemy draws, so the run ends normally after one report
// line; whatever the hunt and the battle ask, one of the repeated lines
// answers it.
inline std::string TypedLostRun(const std::string& name) {
  std::string input = "\n" + name + "\n\n\n1\n0\n0\n0\nZ\nx\n";
  for (int i = 0; i < 2000; ++i) input += "a\ny\nZ\n";
  return input;
}

}  // namespace velkor::test
