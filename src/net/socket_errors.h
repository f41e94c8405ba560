#pragma once

#include "text/ansi.h"

namespace zorvia::net {

// Error numbers of the sockets layer, as the game box reports them in
// "Socket Error # %d" messages and hands them to error hooks. POSIX error
// numbers and resolver results are mapped onto these.
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

// The code for a POSIX error number; an error number without a counterpart
// is passed through unchanged.
int socketErrorFromErrno(int err);

// The code for a getaddrinfo() result (EAI_*); EAI_SYSTEM takes errno.
int socketErrorFromResolver(int eaiResult);

// The text of a code, or empty text for a code that has none.
AnsiString socketErrorText(int code);

// The last error of a socket call on this thread, like a per-thread errno
// already mapped to a socket error code.
int lastSocketError();
void setLastSocketError(int code);
// Records errno (mapped) as the last socket error.
void noteErrno();

} // namespace zorvia::net
