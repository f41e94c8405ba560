#include "portal/addresses.h"

namespace zorvia::portal {

AnsiString portalUrl(const AnsiString& siteHost, const AnsiString& path) {
    return "http://" + siteHost + path;
}

} // namespace zorvia::portal
