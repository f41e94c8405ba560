#pragma once

#include "text/ansi.h"

#include <string_view>

namespace zorvia::portal {

// The reply line of a portal answer: the body bytes (line breaks already
// removed) decoded from UTF-8 and converted to code page 936. A body that
// is not well-formed UTF-8 gives the empty text; characters the code page
// lacks become "?".
AnsiString replyText(std::string_view body);

} // namespace zorvia::portal
