#pragma once

#include "net/base_socket.h"
#include "text/exception.h"

namespace zorvia {

using TSocketHost = AnsiString;
using TSocketPort = AnsiString;

// An IPv4 socket with local and remote end points given as texts.
class TIpSocket : public TBaseSocket {
public:
    TIpSocket();

    const TSocketHost& LocalHost() const { return localHost_; }
    void SetLocalHost(const TSocketHost& value) { localHost_ = value; }
    const TSocketPort& LocalPort() const { return localPort_; }
    void SetLocalPort(const TSocketPort& value) { localPort_ = value; }
    const TSocketHost& RemoteHost() const { return remoteHost_; }
    // A different text closes the socket first; the same text changes nothing.
    void SetRemoteHost(const TSocketHost& value);
    const TSocketPort& RemotePort() const { return remotePort_; }
    void SetRemotePort(const TSocketPort& value);

    // Dotted address text of a host: "0.0.0.0" for empty text, the text
    // itself when it starts with a digit and is an address, otherwise the
    // first address the name resolves to; empty text when there is none.
    AnsiString LookupHostAddress(const AnsiString& host) const;
    // Port number of a service name or decimal text; 0 for empty text.
    // Raises EConvertError for text that is neither.
    int LookupPort(const AnsiString& port) const;

private:
    TSocketHost localHost_;
    TSocketPort localPort_;
    TSocketHost remoteHost_;
    TSocketPort remotePort_;
};

} // namespace zorvia
