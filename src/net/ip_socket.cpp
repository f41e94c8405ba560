#include "net/ip_socket.h"

#include "net/socket_errors.h"
#include "net/socket_ops.h"

#include <charconv>
#include <netdb.h>
#include <netinet/in.h>

namespace zorvia {

TIpSocket::TIpSocket() {
    SetDomain(TSocketDomain::pfInet);
}

void TIpSocket::SetRemoteHost(const TSocketHost& value) {
    if (value == remoteHost_)
        return;
    Close();
    remoteHost_ = value;
}

void TIpSocket::SetRemotePort(const TSocketPort& value) {
    if (value == remotePort_)
        return;
    Close();
    remotePort_ = value;
}

AnsiString TIpSocket::LookupHostAddress(const AnsiString& host) const {
    if (host.empty())
        return "0.0.0.0";
    if (host[0] >= '0' && host[0] <= '9') {
        const auto address = net::parseInetAddress(host);
        return address ? host : AnsiString();
    }
    std::uint32_t address = 0;
    const int code = net::resolveIPv4(host, address);
    if (code != 0) {
        net::setLastSocketError(code);
        return {};
    }
    return net::formatIPv4(address);
}

int TIpSocket::LookupPort(const AnsiString& port) const {
    if (port.empty())
        return 0;
    if (port.find('\0') == AnsiString::npos) {
        servent entry{};
        servent* found = nullptr;
        char scratch[1024];
        if (::getservbyname_r(port.c_str(), nullptr, &entry, scratch, sizeof scratch, &found) ==
                0 &&
            found)
            return ntohs(static_cast<std::uint16_t>(found->s_port));
    }
    const char* first = port.data();
    const char* last = first + port.size();
    if (first != last && *first == '+')
        ++first;
    int value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last)
        throw EConvertError::notValid(port, "integer value");
    return value;
}

} // namespace zorvia
