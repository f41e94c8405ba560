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

    TNetNotifyEvent OnConnected;

private:
    AnsiString boundIP_;
    int boundPort_ = 0;
    AnsiString host_;
    int port_ = 0;
    int connectTimeout_ = 0;
};

} // namespace zorvia
