#include "portal/portal_request.h"

#include "net/tcp_client.h"
#include "portal/chunked.h"
#include "portal/reply_text.h"
#include "portal/request_head.h"
#include "portal/site_host.h"

#include <chrono>
#include <string>
#include <vector>

namespace zorvia::portal {

namespace {

std::string withoutLineBreaks(const std::string& body) {
    std::string out;
    out.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += body[i];
    }
    return out;
}

// Reads until the peer closes, a read runs out of time, or a limit is hit.
std::string readToClose(TTcpClient& socket, const RequestLimits& limits) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limits.totalMs);
    std::string body;
    char buffer[8192];
    while (body.size() < limits.maxBody && Clock::now() < deadline) {
        const int n = socket.ReceiveBuffer(buffer, sizeof buffer);
        if (n <= 0)
            break;
        body.append(buffer, static_cast<size_t>(n));
    }
    return body;
}

} // namespace

PortalReply queryPortal(TTcpClient& socket, const AnsiString& siteHost, const AnsiString& cookie,
                        const AnsiString& query, const RequestLimits& limits) {
    PortalReply reply;
    try {
        const HostPort where = splitHostPort(siteHost);
        socket.SetRemoteHost(where.host);
        socket.SetRemotePort(std::to_string(where.port));
        socket.SetConnectTimeout(limits.connectMs);
        socket.SetReadTimeout(limits.readMs);
        socket.SetActive(true);

        if (socket.Connected()) {
            for (const auto& line : portalRequestLines(query, siteHost, cookie))
                socket.SendLine(line, "\r\n");
        }

        std::vector<std::string> head;
        for (;;) {
            AnsiString line = socket.ReceiveLine("\r\n");
            if (line.empty())
                break;
            head.push_back(std::move(line));
        }
        reply.reached = socket.Connected() && !head.empty() && head.front().rfind("HTTP/", 0) == 0;

        std::string body = socket.Connected() ? readToClose(socket, limits) : std::string();
        socket.Close();

        if (isChunked(head)) {
            if (auto decoded = decodeChunked(body))
                body = std::move(*decoded);
        }
        reply.text = replyText(withoutLineBreaks(body));
    } catch (const std::exception&) {
        socket.Close();
        reply.text.clear();
    }
    return reply;
}

} // namespace zorvia::portal
