#pragma once

#include "net/net_socket_handle.h"

#include <memory>

namespace zorvia {

// The stream client's link to one socket.
class TNetIOHandlerSocket {
public:
    // A fresh socket handle object, or the old one reset.
    void Open();
    // Shuts the sending direction down and closes the socket.
    void Close();
    // True while the socket is open.
    bool Connected() const;

    int Recv(void* buffer, int n);
    int Send(const void* buffer, int n);
    // Raises ENetConnClosedGracefully when the socket is no longer open.
    bool Readable(int timeoutMs);

    TNetSocketHandle* Binding() const { return binding_.get(); }

private:
    std::unique_ptr<TNetSocketHandle> binding_;
};

} // namespace zorvia
