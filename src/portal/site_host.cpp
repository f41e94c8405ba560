#include "portal/site_host.h"

#include "build_config.h"

#include <cstdlib>

namespace zorvia::portal {

AnsiString portalHost() {
    if (const char* env = std::getenv("ZORVIA_SITE_HOST"); env != nullptr && *env != '\0')
        return env;
    return ZORVIA_SITE_HOST_DEFAULT;
}

HostPort splitHostPort(const AnsiString& siteHost) {
    HostPort result{siteHost, 80};
    const auto colon = siteHost.rfind(':');
    if (colon == AnsiString::npos || siteHost.find(':') != colon)
        return result; // no port, or an IPv6 literal without brackets
    const AnsiString digits = siteHost.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != AnsiString::npos)
        return result;
    const long port = std::strtol(digits.c_str(), nullptr, 10);
    if (port < 1 || port > 65535)
        return result;
    result.host = siteHost.substr(0, colon);
    result.port = static_cast<uint16_t>(port);
    return result;
}

} // namespace zorvia::portal
