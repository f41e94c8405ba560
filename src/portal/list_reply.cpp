#include "portal/list_reply.h"

#include "portal/addresses.h"

#include <string_view>

namespace zorvia::portal {

std::vector<ListItem> parseListReply(const AnsiString& reply, const AnsiString& siteHost,
                                     const AnsiString& path) {
    std::vector<ListItem> items;
    const std::string_view text(reply);
    size_t from = 0;
    size_t p;
    while ((p = text.find('|', from)) != std::string_view::npos) {
        const std::string_view id = text.substr(from, p - from);
        from = p + 1;
        AnsiString name;
        if (const size_t q = text.find('|', from); q != std::string_view::npos) {
            name = text.substr(from, q - from);
            from = q + 1;
        } else {
            from = text.size();
        }
        items.push_back({std::move(name), portalUrl(siteHost, AnsiString(path).append(id))});
    }
    return items;
}

} // namespace zorvia::portal
