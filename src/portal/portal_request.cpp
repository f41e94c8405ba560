#include "portal/portal_request.h"

#include "net/tcp_client.h"
#include "portal/reply_head.h"
#include "portal/request_head.h"
#include "portal/site_host.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace zorvia::portal {

namespace {

using Clock = std::chrono::steady_clock;

// One receive into `received`, waiting at most readMs and never past the
// deadline. False when nothing came: the peer closed, or time ran out.
bool receiveSome(TTcpClient& socket, std::string& received, Clock::time_point deadline,
                 int readMs) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return false;
    socket.SetReadTimeout(static_cast<int>(std::min<long long>(left, readMs)));
    char buffer[16384];
    const int n = socket.ReceiveBuffer(buffer, sizeof buffer);
    if (n <= 0)
        return false;
    received.append(buffer, static_cast<size_t>(n));
    return true;
}

// Receives until the empty line that ends the head. Returns where the body
// starts in `received` and fills `head` with the head's lines; none when the
// head does not end within the limits.
std::optional<size_t> receiveHead(TTcpClient& socket, std::string& received,
                                  std::vector<std::string>& head, Clock::time_point deadline,
                                  const RequestLimits& limits) {
    ReplyHeadScanner scanner(limits.maxHead);
    for (;;) {
        switch (scanner.scan(received)) {
        case ReplyHeadScanner::State::Done:
            head = scanner.lines();
            return scanner.bodyStart();
        case ReplyHeadScanner::State::Refused:
            return std::nullopt;
        case ReplyHeadScanner::State::More:
            if (!receiveSome(socket, received, deadline, limits.readMs))
                return std::nullopt;
            break;
        }
    }
}

} // namespace

PortalReply queryPortal(TTcpClient& socket, const AnsiString& siteHost, const AnsiString& cookie,
                        const AnsiString& query, const RequestLimits& limits) {
    PortalReply reply;
    if (hasControlCharacter(query))
        return reply; // a value from a page that would split the request line
    const auto deadline = Clock::now() + std::chrono::milliseconds(limits.totalMs);
    try {
        const HostPort where = splitHostPort(siteHost);
        socket.SetRemoteHost(where.host);
        socket.SetRemotePort(std::to_string(where.port));
        socket.SetConnectTimeout(std::min(limits.connectMs, limits.totalMs));
        socket.SetActive(true);
        if (!socket.Connected()) {
            socket.Close();
            return reply;
        }
        for (const auto& line : portalRequestLines(query, siteHost, cookie))
            socket.SendLine(line, "\r\n");

        std::string received;
        std::vector<std::string> head;
        const std::optional<size_t> bodyStart =
            receiveHead(socket, received, head, deadline, limits);
        if (!bodyStart || head.empty() || head.front().rfind("HTTP/", 0) != 0) {
            socket.Close();
            return reply;
        }
        reply.reached = true;

        std::string body = received.substr(*bodyStart);
        while (body.size() <= limits.maxBody &&
               receiveSome(socket, body, deadline, limits.readMs)) {
        }
        socket.Close();
        if (body.size() > limits.maxBody)
            return {}; // refused whole: a cut list would pass for the whole one

        reply.text = replyLineOf(head, std::move(body));
    } catch (const std::exception&) {
        socket.Close();
        reply = {};
    }
    return reply;
}

} // namespace zorvia::portal
