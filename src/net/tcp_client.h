#pragma once

#include "net/ip_socket.h"

namespace zorvia {

// A client socket: Active := true creates the socket and connects it to
// RemoteHost:RemotePort; Close (or a change of host or port) ends both.
// Destruction closes too, without calling the hooks.
class TCustomIpClient : public TIpSocket {
public:
    TCustomIpClient();
    ~TCustomIpClient() override;

    // True from a successful connect until Close.
    bool Connected() const { return connected_; }

    // Longest wait for a connect, in milliseconds; 0 leaves it to the
    // system's own connect time-out. A connect that runs out of time fails
    // with 10060.
    int ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int ms) { connectTimeout_ = ms < 0 ? 0 : ms; }

    void Close() override;

    TSocketNotifyEvent OnConnect;
    TSocketNotifyEvent OnDisconnect;

protected:
    void Open() override;
    virtual void DoConnect();
    virtual void DoDisconnect();

private:
    int connect();

    bool connected_ = false;
    int connectTimeout_ = 0;
};

// The line-oriented blocking TCP client of the portal requests.
class TTcpClient final : public TCustomIpClient {};

} // namespace zorvia
