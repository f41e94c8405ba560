#pragma once

#include <string>

namespace zorvia {

// Text in the game box's ANSI code page (936): one or two bytes per character.
using AnsiString = std::string;

} // namespace zorvia
