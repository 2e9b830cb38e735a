// The program's entry: bind the console, seed the random source, run.
#include <iostream>

#include "console/console_io.h"
#include "data/random_source.h"
#include "game/startup.h"

int main() {
  std::ios::sync_with_stdio(false);
  velkor::StreamConsole console(std::cin, std::cout);
  velkor::BindConsole(console);
  velkor::RandomState = velkor::ClockSeed();
  return velkor::StartUp();
}
