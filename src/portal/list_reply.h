#pragma once

#include "text/ansi.h"

#include <vector>

namespace zorvia::portal {

// An item of the game lists: the text shown and the link it opens.
struct ListItem {
    AnsiString display;
    AnsiString link;
    bool operator==(const ListItem&) const = default;
};

// Parses a list reply "id|name|id|name|..." into items whose link is
// "http://" + siteHost + path + id. The separator is found byte by byte.
// A final id without a closing "|" after its name gives an item with an
// empty name; text left without any "|" is ignored. Linear in the size of
// the reply.
std::vector<ListItem> parseListReply(const AnsiString& reply, const AnsiString& siteHost,
                                     const AnsiString& path);

} // namespace zorvia::portal
