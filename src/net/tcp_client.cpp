#include "net/tcp_client.h"

#include "net/socket_errors.h"
#include "net/socket_ops.h"

#include <sys/socket.h>

namespace zorvia {

using namespace zorvia::net;

TCustomIpClient::TCustomIpClient() = default;

// The owner of the hooks may already be gone: close without calling them.
TCustomIpClient::~TCustomIpClient() {
    OnConnect = nullptr;
    OnDisconnect = nullptr;
    DetachHooks();
    TCustomIpClient::Close();
}

void TCustomIpClient::Open() {
    TIpSocket::Open();
    if (Active() && !connected_) {
        connected_ = CheckSocketResult(connect()) == 0;
        if (connected_)
            DoConnect();
    }
}

// Connects to RemoteHost:RemotePort. Returns 0, or -1 with the last socket
// error set. Destinations no connection can reach (an unresolved host, the
// "any" address, a port outside 1..65535) fail without a connect attempt.
int TCustomIpClient::connect() {
    const AnsiString text = LookupHostAddress(RemoteHost());
    const int port = LookupPort(RemotePort());
    const auto address = parseInetAddress(text);
    if (!address) {
        setLastSocketError(WSAHOST_NOT_FOUND);
        return -1;
    }
    if (*address == 0 || port < 1 || port > 65535) {
        setLastSocketError(WSAEADDRNOTAVAIL);
        return -1;
    }
    const int limit = BlockMode() == TSocketBlockMode::bmBlocking ? connectTimeout_ : 0;
    return connectIPv4(Socket(), *address, static_cast<std::uint16_t>(port), limit) == 0 ? 0 : -1;
}

void TCustomIpClient::Close() {
    if (connected_) {
        CheckSocketResult(shutdownSocket(Socket(), SHUT_RDWR));
        connected_ = false;
        DoDisconnect();
    }
    TIpSocket::Close();
}

void TCustomIpClient::DoConnect() {
    if (OnConnect)
        OnConnect(*this);
}

void TCustomIpClient::DoDisconnect() {
    if (OnDisconnect)
        OnDisconnect(*this);
}

} // namespace zorvia
