// The program's entry: bind the console, seed the random source, run.
#include <iostream>

#include "console/terminal_console.h"
#include "data/random_source.h"
#include "game/startup.h"

int main() {
  std::ios::sync_with_stdio(false);
  // A terminal that does not speak code page 932 gets the text converted.
  const auto console = velkor::BindStandardConsole();
  velkor::RandomState = velkor::ClockSeed();
  return velkor::StartUp();
}
