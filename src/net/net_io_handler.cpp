#include "net/net_io_handler.h"

#include "net/net_exceptions.h"
#include "net/socket_errors.h"

namespace zorvia {

void TNetIOHandlerSocket::Open() {
    if (binding_)
        binding_->Reset();
    else
        binding_ = std::make_unique<TNetSocketHandle>();
}

void TNetIOHandlerSocket::Close() {
    if (binding_)
        binding_->CloseSocket();
}

bool TNetIOHandlerSocket::Connected() const {
    return binding_ && binding_->HandleAllocated();
}

int TNetIOHandlerSocket::Recv(void* buffer, int n) {
    if (!Connected()) {
        net::setLastSocketError(net::WSAENOTSOCK);
        return -1;
    }
    return binding_->Recv(buffer, n);
}

int TNetIOHandlerSocket::Send(const void* buffer, int n) {
    if (!Connected()) {
        net::setLastSocketError(net::WSAENOTSOCK);
        return -1;
    }
    return binding_->Send(buffer, n);
}

bool TNetIOHandlerSocket::Readable(int timeoutMs) {
    if (!Connected())
        throw ENetConnClosedGracefully();
    return binding_->Readable(timeoutMs);
}

} // namespace zorvia
