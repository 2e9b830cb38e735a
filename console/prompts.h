#pragma once
// The small routines every dialogue of the game is built from. Texts are code
// page 932 byte strings and every length here is counted in bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "console/console_io.h"

namespace velkor {

// value in decimal, with spaces in front up to width bytes; never cut.
std::string RightInt(int width, std::int32_t value);
// text padded on the right with spaces to width bytes (never cut).
std::string PadRight(std::string_view text, std::size_t width);

// Reads one line; ok only when it is exactly one byte long.
bool ReadOneChar(Console& console, char& key);

// Menu letters: 0..25 are "a".."z", 26..51 are "A".."Z"; any other index
// gives a space.
char MenuLetter(std::int32_t index);
// MenuLetter, but any other index writes an error line and waits for Enter
// first.
char IntToAlf(Console& console, std::int32_t index);
// Any other byte writes an error line, waits for Enter and gives 0.
std::int32_t AlfToInt(Console& console, char letter);

// Writes question (when not empty) and "(shown)" until one of the allowed
// bytes is typed alone; shown defaults to allowed. Then an empty line.
char AskChoice(Console& console, std::string_view question, std::string_view allowed,
               std::string_view shown = {});
// question + "(y/n)"; true for "y".
bool AskYesNo(Console& console, std::string_view question);

// Reads one line of decimal digits only; a value above 2147483647 is not ok.
bool ReadNumber(Console& console, std::int32_t& value);
// Writes question and "{low～high}" until a number in the range is typed.
std::int32_t AskRange(Console& console, std::string_view question, std::int32_t low, std::int32_t high);

// Reports a broken internal invariant between two rule lines; play goes on.
void ErrorBanner(Console& console, std::string_view place);
// "--" + text, padded with "-" to 24 bytes, as a line.
void RuleLine(Console& console, std::string_view text);
// Reads one line and discards it.
void WaitEnter(Console& console);

}  // namespace velkor
