#pragma once

#include "text/ansi.h"

#include <cstdint>
#include <functional>

namespace zorvia {

// One socket of the stream client with its local and peer end points. Owns
// the descriptor; failures raise the stream client's errors.
class TNetSocketHandle {
public:
    TNetSocketHandle() = default;
    ~TNetSocketHandle();
    TNetSocketHandle(const TNetSocketHandle&) = delete;
    TNetSocketHandle& operator=(const TNetSocketHandle&) = delete;

    // A new IPv4 stream socket; raises ENetInvalidSocket.
    void AllocateSocket();
    // Binds to IP:Port (empty IP = any address, 0 = any port); raises
    // ENetCouldNotBindSocket.
    void Bind();
    // Connects to PeerIP:PeerPort. `timeoutMs` <= 0 waits as long as the
    // system lets a connect take; otherwise ENetConnectTimeout when it runs
    // out. Other failures raise ENetSocketError. With `idle`, the wait runs
    // in slices of at most `sliceMs` with a call of `idle` after each; false
    // from it abandons the connect: Connect returns false at once without
    // touching this object again (it may be gone). True when connected.
    bool Connect(int timeoutMs, const std::function<bool()>& idle = {}, int sliceMs = 10);

    // recv()/send() of up to n bytes: the count, or -1 with the last socket
    // error set.
    int Recv(void* buffer, int n);
    int Send(const void* buffer, int n);
    // Waits until a read would not block; `timeoutMs` < 0 waits without limit.
    bool Readable(int timeoutMs);
    // Shuts the sending direction down, then closes the socket.
    void CloseSocket();
    // Closes and forgets the end points.
    void Reset();

    bool HandleAllocated() const { return handle_ >= 0; }
    int Handle() const { return handle_; }

    AnsiString IP;
    int Port = 0;
    AnsiString PeerIP;
    int PeerPort = 0;

private:
    int handle_ = -1;
};

} // namespace zorvia
