#pragma once
// The hunt as the game plays it at the console.

#include "hunt/hunt.h"

namespace velkor {

// One whole run; returns when it has ended.
void Main();

}  // namespace velkor
