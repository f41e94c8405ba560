#pragma once

#include "text/ansi.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace zorvia::net {

// Thin wrappers over the POSIX socket calls shared by both TCP clients.
// Each one retries a call interrupted by a signal, and on failure returns -1
// and records the mapped error as the last socket error (socket_errors.h).

// A stream socket for IPv4, closed on exec.
int openStreamSocket();

// Readiness of one socket, as a select() on it would report it.
struct Readiness {
    bool readable = false;
    bool writable = false;
    bool exceptional = false;
};

// Waits until the socket is ready for one of the asked conditions or the
// wait ends. `waitMs` < 0 waits without limit. Returns the number of
// conditions that hold (0 when the wait ended), or -1 on error.
int waitSocket(int fd, bool read, bool write, bool except, int waitMs, Readiness& ready);

// Called between the slices of a connect's wait; false abandons the connect.
using ConnectIdle = std::function<bool()>;

// Connects to an IPv4 address and port (host byte order). `timeoutMs` <= 0
// blocks until the system's own connect time-out; otherwise the call gives
// up after that many milliseconds and returns -2 (last error 10060). The
// socket keeps its blocking mode. 0 when connected, -1 on failure.
// With `idle`, the wait runs in slices of at most `sliceMs` and `idle` is
// called after each; when it returns false the call returns -3 at once and
// does not touch the socket again (it may have been closed meanwhile).
int connectIPv4(int fd, std::uint32_t address, std::uint16_t port, int timeoutMs,
                const ConnectIdle& idle = {}, int sliceMs = 10);

// Binds to an IPv4 address and port (host byte order).
int bindIPv4(int fd, std::uint32_t address, std::uint16_t port);

ssize_t recvRetry(int fd, void* buf, std::size_t n, int flags);
// send() that never raises SIGPIPE.
ssize_t sendRetry(int fd, const void* buf, std::size_t n, int flags);
int shutdownSocket(int fd, int how);
int closeSocket(int fd);
int setNonBlocking(int fd, bool on);

// Strict dotted IPv4: four decimal numbers 0..255 separated by dots.
std::optional<std::uint32_t> parseDottedQuad(const AnsiString& text);
// The classic inet_aton() forms ("127.1", "0x7f.0.0.1", ...).
std::optional<std::uint32_t> parseInetAddress(const AnsiString& text);
AnsiString formatIPv4(std::uint32_t address);

// Resolves a host name to its first IPv4 address. Returns 0, or the socket
// error code of the resolver's failure.
int resolveIPv4(const AnsiString& name, std::uint32_t& address);

} // namespace zorvia::net
