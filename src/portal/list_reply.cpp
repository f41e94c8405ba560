#include "portal/list_reply.h"

#include "portal/addresses.h"

namespace zorvia::portal {

std::vector<ListItem> parseListReply(AnsiString reply, const AnsiString& siteHost,
                                     const AnsiString& path) {
    std::vector<ListItem> items;
    size_t p;
    while ((p = reply.find('|')) != AnsiString::npos) {
        const AnsiString id = reply.substr(0, p);
        reply.erase(0, p + 1);
        AnsiString name;
        const size_t q = reply.find('|');
        if (q != AnsiString::npos) {
            name = reply.substr(0, q);
            reply.erase(0, q + 1);
        }
        items.push_back({name, portalUrl(siteHost, path + id)});
    }
    return items;
}

} // namespace zorvia::portal
