#pragma once
// Character definition: name, stats and talents, then the opening scenario.

namespace velkor {

// Fills the cleared Player from the player's answers and plays the opening.
void DefineCharacter();

}  // namespace velkor
