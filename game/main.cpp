// The program's entry where the player's files are the real ones: the
// terminal, the Windows console, Node.
#include "game/program.h"

int main() { return velkor::RunProgram(velkor::platform::NoFileHooks); }
