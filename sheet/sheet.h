#pragma once
// The character sheet: how one fighter is shown on the console.

#include <string>
#include <string_view>

#include "console/console_io.h"

#include "data/fighter.h"

namespace velkor {

// Heading rule with the name; the stats and talents, or only the status word
// when isShort; the caption unchanged; the closing rule.
void ShowSheet(Console& console, const TFighter& fighter, bool isShort, std::string_view caption);

// One word for the current HP against the base HP.
std::string StatusWord(const TFighter& fighter);

}  // namespace velkor
