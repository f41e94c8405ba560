#include "net/net_stack.h"

#include "net/net_exceptions.h"
#include "net/socket_errors.h"
#include "net/socket_ops.h"

#include <algorithm>
#include <string_view>

namespace zorvia {

bool TNetStack::IsIP(const AnsiString& text) {
    return net::parseDottedQuad(text).has_value();
}

bool TNetStack::IsLocalHostName(const AnsiString& text) {
    constexpr std::string_view name = "localhost";
    return text.size() == name.size() &&
           std::equal(text.begin(), text.end(), name.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
           });
}

std::uint32_t TNetStack::ResolveHostToAddress(const AnsiString& host) {
    if (IsLocalHostName(host))
        return 0x7F000001;
    if (const auto address = net::parseDottedQuad(host))
        return *address;
    std::uint32_t address = 0;
    if (const int code = net::resolveIPv4(host, address); code != 0)
        RaiseSocketError(code);
    return address;
}

AnsiString TNetStack::ResolveHost(const AnsiString& host) {
    return net::formatIPv4(ResolveHostToAddress(host));
}

AnsiString TNetStack::TranslateSocketErrorMsg(int code) {
    return net::socketErrorText(code);
}

int TNetStack::WSGetLastError() {
    return net::lastSocketError();
}

void TNetStack::RaiseSocketError(int code) {
    throw ENetSocketError(code);
}

} // namespace zorvia
