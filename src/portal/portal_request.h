#pragma once

#include "text/ansi.h"

namespace zorvia {

class TTcpClient;

namespace portal {

// Limits of one portal exchange.
struct RequestLimits {
    int connectMs = 10000;
    int readMs = 10000;  // longest wait for the next bytes
    int totalMs = 15000; // connect, head and body together
    size_t maxHead = 64 * 1024;
    size_t maxBody = 32 * 1024 * 1024;
};

// What a portal query brought back.
struct PortalReply {
    AnsiString text;      // the reply line: body without CR LF, code page 936
    bool reached = false; // a connection stood and the portal answered with a status line
};

// One exchange with mini.php over `socket`: connect to the portal host,
// send the query's request lines (with a Cookie line when `cookie` is not
// empty), skip the head, read the body until the portal closes the
// connection (decoding a chunked body), close, and decode the body from
// UTF-8. Never raises; a failure gives the empty text. A head that does not
// end within the limits (time, size, a pause longer than readMs) or that the
// portal cuts short is a failed exchange, as if the portal was not reached;
// so is a body longer than maxBody.
PortalReply queryPortal(TTcpClient& socket, const AnsiString& siteHost, const AnsiString& cookie,
                        const AnsiString& query, const RequestLimits& limits = {});

} // namespace portal
} // namespace zorvia
