#include "net/net_tcp_client.h"

#include "net/net_stack.h"

namespace zorvia {

void TNetTCPClient::Connect(int timeout) {
    Connect(timeout, {}, 0);
}

bool TNetTCPClient::Connect(int timeout, const std::function<bool()>& idle, int sliceMs) {
    TNetIOHandlerSocket& handler = OpenHandler();
    try {
        TNetSocketHandle& binding = *handler.Binding();
        binding.AllocateSocket();
        binding.IP = boundIP_;
        binding.Port = boundPort_;
        binding.Bind();
        if (!TNetStack::IsIP(host_) && !TNetStack::IsLocalHostName(host_))
            DoStatus(TNetStatus::hsResolving, "Resolving hostname " + host_ + ".");
        const AnsiString address = TNetStack::ResolveHost(host_);
        binding.PeerIP = address;
        binding.PeerPort = port_;
        DoStatus(TNetStatus::hsConnecting, "Connecting to " + address + ".");
        if (timeout == -1)
            timeout = connectTimeout_;
        if (!binding.Connect(timeout > 0 ? timeout : 0, idle, sliceMs))
            return false; // this client may be gone: nothing more is done
        DoStatus(TNetStatus::hsConnected, "Connected.");
        if (OnConnected)
            OnConnected(*this);
    } catch (...) {
        DropSocket();
        throw;
    }
    return true;
}

} // namespace zorvia
