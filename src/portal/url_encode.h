#pragma once

#include "text/ansi.h"

#include <string_view>

namespace zorvia::portal {

// Percent-encodes every byte except letters, digits, "-", "." and "_";
// a space becomes "%20".
AnsiString URLEncode(std::string_view text);

} // namespace zorvia::portal
