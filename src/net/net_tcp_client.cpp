#include "net/net_tcp_client.h"

#include "net/net_stack.h"

namespace zorvia {

void TNetTCPClient::Connect(int timeout) {
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
        binding.Connect(timeout > 0 ? timeout : 0);
        DoStatus(TNetStatus::hsConnected, "Connected.");
        if (OnConnected)
            OnConnected(*this);
    } catch (...) {
        DropSocket();
        throw;
    }
}

} // namespace zorvia
