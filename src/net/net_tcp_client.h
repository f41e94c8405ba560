#pragma once

#include "net/net_tcp_connection.h"

namespace zorvia {

// The stream TCP client of the game downloads.
class TNetTCPClient : public TNetTCPConnection {
public:
    using TNetNotifyEvent = TNetTCPConnection::TNetNotifyEvent;

    const AnsiString& BoundIP() const { return boundIP_; }
    void SetBoundIP(const AnsiString& value) { boundIP_ = value; }
    int BoundPort() const { return boundPort_; }
    void SetBoundPort(int value) { boundPort_ = value; }
    const AnsiString& Host() const { return host_; }
    void SetHost(const AnsiString& value) { host_ = value; }
    int Port() const { return port_; }
    void SetPort(int value) { port_ = value; }
    // Connect limit in milliseconds for Connect(-1); 0 leaves it to the
    // system's own connect time-out.
    int ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int ms) { connectTimeout_ = ms < 0 ? 0 : ms; }

    // Connects to Host:Port. `timeout` -1 = ConnectTimeout, 0 = no limit of
    // its own, otherwise milliseconds (ENetConnectTimeout when they run out).
    void Connect(int timeout = -1);
    // Connect(timeout) that keeps the caller running: the wait for the peer
    // runs in slices of at most `sliceMs`, with a call of `idle` after each.
    // When `idle` returns false the connect is abandoned at once: false is
    // returned and nothing of this client is touched again (it may be gone
    // with its owner; one that lives on needs a Disconnect before its next
    // connect). True when connected; failures raise as for Connect.
    bool Connect(int timeout, const std::function<bool()>& idle, int sliceMs);

    TNetNotifyEvent OnConnected;

private:
    AnsiString boundIP_;
    int boundPort_ = 0;
    AnsiString host_;
    int port_ = 0;
    int connectTimeout_ = 0;
};

} // namespace zorvia
