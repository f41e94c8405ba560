#pragma once

#include "text/ansi.h"

#include <cstdint>

namespace zorvia::portal {

// The portal host, "name" or "name:port": the build's default, unless the
// environment variable ZORVIA_SITE_HOST names another one.
AnsiString portalHost();

// The parts of a portal host text; the port is 80 when none is given.
struct HostPort {
    AnsiString host;
    uint16_t port = 80;
};
HostPort splitHostPort(const AnsiString& siteHost);

} // namespace zorvia::portal
