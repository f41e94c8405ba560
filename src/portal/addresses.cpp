#include "portal/addresses.h"

#include <string_view>

namespace zorvia::portal {

AnsiString portalUrl(const AnsiString& siteHost, const AnsiString& path) {
    constexpr std::string_view scheme = "http://";
    AnsiString url;
    url.reserve(scheme.size() + siteHost.size() + path.size());
    return url.append(scheme).append(siteHost).append(path);
}

} // namespace zorvia::portal
