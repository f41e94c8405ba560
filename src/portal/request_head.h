#pragma once

#include "text/ansi.h"

#include <vector>

namespace zorvia::portal {

// The header lines every request of the game box sends, in order, without
// their terminators: "GET " + target + " HTTP/1.1", Host, Accept,
// User-Agent, Pragma, Cache-Control and Connection. `target` starts with "/".
std::vector<AnsiString> requestHeadLines(const AnsiString& target, const AnsiString& siteHost);

// The lines of a portal query: the shared head for "/mini.php?" + query,
// a Cookie line when `cookie` is not empty, and the empty line.
std::vector<AnsiString> portalRequestLines(const AnsiString& query, const AnsiString& siteHost,
                                           const AnsiString& cookie);

} // namespace zorvia::portal
