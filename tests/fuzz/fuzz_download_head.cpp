// Fuzz target: a game file's download as the portal host answers it: status
// line, head lines with "Content-Length: ", and body, through the real
// stream client over loopback. The input is what the server sends. The
// server side runs in the transfer's idle calls, so one thread does both.
// The head never takes more than its limit, and the body written is what
// followed the head: up to the close or the announced length, unless the
// transfer failed.
#include "fuzz_check.h"
#include "net/net_exceptions.h"
#include "net/net_tcp_client.h"
#include "net/stream.h"
#include "portal/game_download.h"
#include "text/exception.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using zorvia::fuzz::check;

namespace {

// A loopback server that answers one connection at a time with `reply`, in
// non-blocking steps.
class StepServer {
public:
    StepServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof sa;
        check(listener_ >= 0 && ::bind(listener_, reinterpret_cast<sockaddr*>(&sa), length) == 0 &&
                  ::listen(listener_, 16) == 0 &&
                  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&sa), &length) == 0,
              "the loopback server listens");
        port_ = ntohs(sa.sin_port);
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    void serve(std::string_view reply) {
        reply_ = reply;
        sent_ = 0;
        request_.clear();
    }

    // One step: take the connection, drop what the client sent, send what
    // fits once the whole request is there, close once everything is sent.
    // (A close before the request came would reset the connection.)
    void step() {
        if (peer_ < 0) {
            peer_ = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK);
            if (peer_ < 0)
                return;
        }
        drain();
        if (request_.find("\r\n\r\n") == std::string::npos)
            return;
        if (sent_ < reply_.size()) {
            const ssize_t n =
                ::send(peer_, reply_.data() + sent_, reply_.size() - sent_, MSG_NOSIGNAL);
            if (n > 0)
                sent_ += std::size_t(n);
        }
        if (sent_ == reply_.size())
            finish();
    }

    // Ends the connection, if there is one, and one the client gave up
    // before it was taken (a head refused before its first byte): the next
    // serve takes a new one.
    void finish() {
        if (peer_ >= 0) {
            drain(); // unread request bytes would turn the close into a reset
            ::shutdown(peer_, SHUT_WR);
            ::close(peer_);
            peer_ = -1;
        }
        for (int left; (left = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK)) >= 0;)
            ::close(left);
    }

private:
    void drain() {
        char buffer[4096];
        for (ssize_t n; (n = ::recv(peer_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            request_.append(buffer, std::size_t(n));
    }

    int listener_ = -1;
    int peer_ = -1;
    std::uint16_t port_ = 0;
    std::string_view reply_;
    std::size_t sent_ = 0;
    std::string request_;
};

// Where the body starts after a head of LF-ended lines, the status line
// first; npos when no empty line ends it.
std::size_t headEnd(std::string_view reply) {
    std::size_t at = reply.find('\n');
    while (at != std::string_view::npos) {
        const std::size_t next = reply.find('\n', at + 1);
        if (next == std::string_view::npos)
            return next;
        const std::string_view line = reply.substr(at + 1, next - at - 1);
        if (line.empty() || line == "\r")
            return next + 1;
        at = next;
    }
    return at;
}

// Whether `reply` is a head the transfer must take: "HTTP/1.1 200 OK", no
// announced length, no NUL (which a head may not hold), lines within the
// client's line limit, and the whole head, each line counted with CR LF,
// within `maxHead`.
bool plainHead(std::string_view reply, std::size_t maxHead) {
    std::size_t counted = 0;
    for (std::size_t start = 0, index = 0;; ++index) {
        const std::size_t end = reply.find('\n', start);
        if (end == std::string_view::npos)
            return false;
        std::string_view line = reply.substr(start, end - start);
        if (line.size() >= 16384 || line.find("Content-Length: ") != std::string_view::npos ||
            line.find('\0') != std::string_view::npos)
            return false;
        counted += line.size() + 2;
        if (counted > maxHead)
            return false;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (index == 0 && line != "HTTP/1.1 200 OK")
            return false;
        if (index > 0 && line.empty())
            return true;
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static StepServer server;
    if (size < 1)
        return 0;
    // The real limit, or a small one whose edge the fuzzer reaches quickly.
    zorvia::portal::DownloadLimits limits;
    limits.maxHead = (data[0] & 0x80) != 0 ? 64 * 1024 : std::size_t(data[0]) * 8;
    limits.sliceMs = 0; // every wait hands over to the server at once
    const std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    server.serve(reply);

    zorvia::TNetTCPClient client;
    zorvia::portal::GameTransfer transfer(client, limits, {{}, [&] {
                                                               server.step();
                                                               return true;
                                                           }});
    zorvia::TMemoryStream body;
    bool whole = false;
    bool begun = false;
    try {
        begun = transfer.begin(server.host(), "games/a.swf");
        if (begun) {
            transfer.receiveBody(body);
            whole = true;
        }
    } catch (const zorvia::EConvertError&) {
        // a "Content-Length: " that is no number
    } catch (const zorvia::ENetConnClosedGracefully&) {
        // the body ended before its announced length
    }
    server.finish();
    if (plainHead(reply, limits.maxHead))
        check(begun && whole, "a head within its limits is taken and its body read to the close");
    if (!begun)
        return 0;

    const std::size_t start = headEnd(reply);
    check(start != std::string_view::npos, "an accepted head ends with an empty line");
    check(start <= limits.maxHead, "the head takes no more than its limit");
    const std::string_view rest = reply.substr(start);
    const std::string written = body.DataString();
    check(rest.substr(0, written.size()) == written, "the body written is what followed the head");
    check(!whole || written.size() == rest.size() ||
              std::int64_t(written.size()) == transfer.length(),
          "a whole transfer writes the body up to the close or to its announced length");
    check(!whole || std::int64_t(written.size()) >= transfer.length(),
          "a whole transfer has at least the announced length");
    return 0;
}
