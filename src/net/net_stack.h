#pragma once

#include "text/ansi.h"

#include <cstdint>

namespace zorvia {

// Name resolution and error reporting shared by the stream client's parts.
// The POSIX socket layer needs no start-up, so the stack keeps no state.
class TNetStack {
public:
    // Four decimal numbers 0..255 separated by dots.
    static bool IsIP(const AnsiString& text);
    // "LOCALHOST" in any letter case.
    static bool IsLocalHostName(const AnsiString& text);
    // Dotted address of a host: "LOCALHOST" (any letter case) is 127.0.0.1,
    // an address stays itself, a name takes its first IPv4 address. A name
    // that does not resolve raises ENetSocketError with the resolver's code.
    static AnsiString ResolveHost(const AnsiString& host);
    static std::uint32_t ResolveHostToAddress(const AnsiString& host);
    static AnsiString TranslateSocketErrorMsg(int code);
    // The last socket error of this thread.
    static int WSGetLastError();
    [[noreturn]] static void RaiseSocketError(int code);
};

} // namespace zorvia
