#pragma once
// Code page 932 and the other character sets as the game uses them: the
// system's conversions (platform/charset.h), and text of the user's settings
// brought into code page 932.

#include <string>
#include <string_view>

#include "platform/charset.h"

namespace velkor {

using platform::CharsetConverter;
using platform::Cp932CharacterLength;
using platform::GameCharset;
using platform::IsCp932LeadByte;
using platform::WholeCp932Prefix;

// text in charset to code page 932, with one "?" for each character that
// does not convert. With a set the system does not know, ASCII stays and
// every other byte becomes "?".
std::string ToCp932(std::string_view text, std::string_view charset);

}  // namespace velkor
