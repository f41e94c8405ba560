#include "net/net_socket_handle.h"

#include "net/net_exceptions.h"
#include "net/net_stack.h"
#include "net/socket_errors.h"
#include "net/socket_ops.h"

#include <sys/socket.h>

namespace zorvia {

using namespace zorvia::net;

TNetSocketHandle::~TNetSocketHandle() {
    if (handle_ >= 0)
        closeSocket(handle_);
}

void TNetSocketHandle::AllocateSocket() {
    if (handle_ >= 0)
        CloseSocket();
    handle_ = openStreamSocket();
    if (handle_ < 0)
        throw ENetInvalidSocket();
}

void TNetSocketHandle::Bind() {
    std::uint32_t address = 0;
    if (!IP.empty())
        address = TNetStack::ResolveHostToAddress(IP);
    if (Port < 0 || Port > 65535 || bindIPv4(handle_, address, std::uint16_t(Port)) != 0)
        throw ENetCouldNotBindSocket();
}

bool TNetSocketHandle::Connect(int timeoutMs, const std::function<bool()>& idle, int sliceMs) {
    const auto address = parseDottedQuad(PeerIP);
    // Neither the "any" address nor port 0 names a peer.
    if (!address || *address == 0 || PeerPort < 1 || PeerPort > 65535)
        TNetStack::RaiseSocketError(WSAEADDRNOTAVAIL);
    const int r = connectIPv4(handle_, *address, std::uint16_t(PeerPort), timeoutMs, idle, sliceMs);
    if (r == -3)
        return false;
    if (r == -2)
        throw ENetConnectTimeout();
    if (r != 0)
        TNetStack::RaiseSocketError(lastSocketError());
    return true;
}

int TNetSocketHandle::Recv(void* buffer, int n) {
    return static_cast<int>(recvRetry(handle_, buffer, std::size_t(n), 0));
}

int TNetSocketHandle::Send(const void* buffer, int n) {
    return static_cast<int>(sendRetry(handle_, buffer, std::size_t(n), 0));
}

bool TNetSocketHandle::Readable(int timeoutMs) {
    Readiness ready;
    const int r = waitSocket(handle_, true, false, false, timeoutMs, ready);
    if (r < 0)
        TNetStack::RaiseSocketError(lastSocketError());
    return ready.readable;
}

void TNetSocketHandle::CloseSocket() {
    if (handle_ < 0)
        return;
    shutdownSocket(handle_, SHUT_WR);
    closeSocket(handle_);
    handle_ = -1;
}

void TNetSocketHandle::Reset() {
    CloseSocket();
    IP.clear();
    Port = 0;
    PeerIP.clear();
    PeerPort = 0;
}

} // namespace zorvia
