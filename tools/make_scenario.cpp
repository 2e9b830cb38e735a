// Makes a scenario file from its story source:
//   make_scenario story/0.txt dat/0.dat
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

#include "console/scenario.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_scenario <story source> <scenario file>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    std::fprintf(stderr, "make_scenario: cannot read %s\n", argv[1]);
    return 1;
  }
  try {
    const std::string scenario = velkor::ScenarioFromStory(source);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << scenario;
    out.close();
    if (!out) {
      std::fprintf(stderr, "make_scenario: cannot write %s\n", argv[2]);
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_scenario: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
