#pragma once

#include "text/ansi.h"

#include <string_view>

namespace zorvia::portal {

// Percent-encodes every byte except letters, digits, "-", "." and "_";
// a space becomes "%20".
AnsiString URLEncode(std::string_view text);

// A path with its query as it goes into a request line: the bytes a request
// target may not carry (controls, space, '"', "#", "<", ">", "\\", "^", "`",
// "{", "|", "}" and every byte from 0x7F up, so both bytes of a double-byte
// character) become "%" and two upper-case hexadecimal digits; the rest stays
// as it is, "%" included, so a path the page already encoded is sent
// unchanged.
AnsiString encodeRequestTarget(std::string_view target);

} // namespace zorvia::portal
