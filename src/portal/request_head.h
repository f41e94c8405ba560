#pragma once

#include "text/ansi.h"

#include <string_view>
#include <vector>

namespace zorvia::portal {

// The header lines every request of the game box sends, in order, without
// their terminators: "GET " + target + " HTTP/1.1", Host, Accept,
// User-Agent, Pragma, Cache-Control and Connection. `target` starts with "/";
// it goes out percent-encoded by encodeRequestTarget.
std::vector<AnsiString> requestHeadLines(const AnsiString& target, const AnsiString& siteHost);

// True when text holds a byte below 0x20 or 0x7F: such a value taken from a
// page would split or bend a request line, so it is never sent.
bool hasControlCharacter(std::string_view text);

// The lines of a portal query: the shared head for "/mini.php?" + query,
// a Cookie line when `cookie` is not empty, and the empty line.
std::vector<AnsiString> portalRequestLines(const AnsiString& query, const AnsiString& siteHost,
                                           const AnsiString& cookie);

} // namespace zorvia::portal
