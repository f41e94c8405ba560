#include "net/socket_ops.h"

#include "net/socket_errors.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorvia::net {
namespace {

using Clock = std::chrono::steady_clock;

int fail() {
    noteErrno();
    return -1;
}

sockaddr_in makeAddress(std::uint32_t address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(address);
    return sa;
}

// The end of a wait of `waitMs` from now (now itself for < 0).
Clock::time_point deadlineIn(int waitMs) {
    return Clock::now() + std::chrono::milliseconds(waitMs < 0 ? 0 : waitMs);
}

// Whole milliseconds left until `deadline`, rounded up; 0 once it passed.
int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// poll() on one descriptor, keeping one deadline across interruptions.
int pollOne(int fd, short events, int waitMs, short& revents) {
    const auto deadline = deadlineIn(waitMs);
    for (;;) {
        const int timeout = waitMs < 0 ? -1 : msLeft(deadline);
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, timeout);
        if (r >= 0) {
            revents = r > 0 ? p.revents : 0;
            return r;
        }
        if (errno != EINTR)
            return fail();
    }
}

enum class ConnectEnd { done, expired, abandoned };

// Waits for the end of a connect going on in the background: `waitMs` < 0
// without a limit of its own; with `idle`, in slices of at most `sliceMs`
// with a call of `idle` after each. `err` receives the connect's outcome.
ConnectEnd awaitConnect(int fd, int waitMs, const ConnectIdle& idle, int sliceMs, int& err) {
    const auto deadline = deadlineIn(waitMs);
    const int slice = std::max(sliceMs, 1);
    for (;;) {
        int wait = waitMs < 0 ? -1 : msLeft(deadline);
        if (wait == 0) {
            err = ETIMEDOUT;
            return ConnectEnd::expired;
        }
        if (idle)
            wait = wait < 0 ? slice : std::min(wait, slice);
        short revents = 0;
        const int r = pollOne(fd, POLLOUT, wait, revents);
        if (r < 0) {
            err = errno;
            return ConnectEnd::done;
        }
        if (r > 0) {
            socklen_t len = sizeof err;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) < 0)
                err = errno;
            return ConnectEnd::done;
        }
        if (idle && !idle())
            return ConnectEnd::abandoned;
    }
}

} // namespace

int openStreamSocket() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd < 0 ? fail() : fd;
}

int waitSocket(int fd, bool read, bool write, bool except, int waitMs, Readiness& ready) {
    if (fd < 0) {
        setLastSocketError(WSAENOTSOCK);
        return -1;
    }
    short events = 0;
    if (read)
        events |= POLLIN;
    if (write)
        events |= POLLOUT;
    if (except)
        events |= POLLPRI;
    short revents = 0;
    if (pollOne(fd, events, waitMs, revents) < 0)
        return -1;
    if (revents & POLLNVAL) {
        setLastSocketError(WSAENOTSOCK);
        return -1;
    }
    // The same sets select() would report.
    ready.readable = read && (revents & (POLLIN | POLLHUP | POLLERR));
    ready.writable = write && (revents & (POLLOUT | POLLERR));
    ready.exceptional = except && (revents & POLLPRI);
    return int(ready.readable) + int(ready.writable) + int(ready.exceptional);
}

int connectIPv4(int fd, std::uint32_t address, std::uint16_t port, int timeoutMs,
                const ConnectIdle& idle, int sliceMs) {
    const sockaddr_in sa = makeAddress(address, port);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return fail();
    const bool limited = timeoutMs > 0;
    // A limited connect, or one that lets the caller run, goes on in the
    // background while this call waits for its end.
    const bool background = limited || idle;
    if (background && !(flags & O_NONBLOCK) && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return fail();
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    int err = result == 0 ? 0 : errno;
    ConnectEnd end = ConnectEnd::done;
    // An interrupted blocking connect goes on in the background too.
    if (result != 0 && (err == EINTR || (background && err == EINPROGRESS))) {
        end = awaitConnect(fd, limited ? timeoutMs : -1, idle, sliceMs, err);
        if (end == ConnectEnd::abandoned)
            return -3;
        result = err == 0 ? 0 : -1;
    }
    if (background && !(flags & O_NONBLOCK))
        ::fcntl(fd, F_SETFL, flags);
    if (result != 0) {
        errno = err;
        fail();
        return end == ConnectEnd::expired ? -2 : -1;
    }
    return 0;
}

int bindIPv4(int fd, std::uint32_t address, std::uint16_t port) {
    const sockaddr_in sa = makeAddress(address, port);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : fail();
}

ssize_t recvRetry(int fd, void* buf, std::size_t n, int flags) {
    for (;;) {
        const ssize_t r = ::recv(fd, buf, n, flags);
        if (r >= 0)
            return r;
        if (errno != EINTR)
            return fail();
    }
}

ssize_t sendRetry(int fd, const void* buf, std::size_t n, int flags) {
    for (;;) {
        const ssize_t r = ::send(fd, buf, n, flags | MSG_NOSIGNAL);
        if (r >= 0)
            return r;
        if (errno != EINTR)
            return fail();
    }
}

int shutdownSocket(int fd, int how) {
    return ::shutdown(fd, how) == 0 ? 0 : fail();
}

int closeSocket(int fd) {
    // On Linux the descriptor is released even when close() is interrupted.
    if (::close(fd) == 0 || errno == EINTR)
        return 0;
    return fail();
}

int setNonBlocking(int fd, bool on) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return fail();
    const int wanted = on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
    return ::fcntl(fd, F_SETFL, wanted) == 0 ? 0 : fail();
}

std::optional<std::uint32_t> parseDottedQuad(const AnsiString& text) {
    std::uint32_t address = 0;
    int parts = 0;
    std::size_t i = 0;
    while (parts < 4) {
        std::size_t digits = 0;
        unsigned value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + unsigned(text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return std::nullopt;
        address = (address << 8) | value;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.')
                return std::nullopt;
            ++i;
        }
    }
    if (i != text.size())
        return std::nullopt;
    return address;
}

std::optional<std::uint32_t> parseInetAddress(const AnsiString& text) {
    in_addr a{};
    if (text.find('\0') != AnsiString::npos || ::inet_aton(text.c_str(), &a) == 0)
        return std::nullopt;
    return ntohl(a.s_addr);
}

AnsiString formatIPv4(std::uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFF, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

int resolveIPv4(const AnsiString& name, std::uint32_t& address) {
    if (name.empty() || name.find('\0') != AnsiString::npos)
        return WSAHOST_NOT_FOUND;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int r = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
    if (r != 0)
        return socketErrorFromResolver(r);
    int code = WSANO_DATA;
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET && ai->ai_addr) {
            address = ntohl(reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr);
            code = 0;
            break;
        }
    }
    ::freeaddrinfo(list);
    return code;
}

} // namespace zorvia::net
