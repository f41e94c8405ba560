#pragma once

#include "text/exception.h"

namespace zorvia {

// Root of the stream client's errors; what() is the message text.
class ENetException : public Exception {
public:
    using Exception::Exception;
};

// Reported like every other error; the name only sorts it.
class ENetSilentException : public ENetException {
    using ENetException::ENetException;
};

class ENetConnClosedGracefully : public ENetSilentException {
public:
    ENetConnClosedGracefully() : ENetSilentException("Connection Closed Gracefully.") {}
};

class ENetSocketHandleError : public ENetException {
    using ENetException::ENetException;
};

class ENetCouldNotBindSocket : public ENetSocketHandleError {
public:
    ENetCouldNotBindSocket()
        : ENetSocketHandleError("Could not bind socket. Address and port are already in use.") {}
};

class ENetTCPConnectionError : public ENetException {
    using ENetException::ENetException;
};

class ENetNotConnected : public ENetTCPConnectionError {
public:
    ENetNotConnected() : ENetTCPConnectionError("Not Connected") {}
};

class ENetAlreadyConnected : public ENetException {
public:
    ENetAlreadyConnected() : ENetException("Already connected.") {}
};

class ENetInvalidSocket : public ENetException {
public:
    ENetInvalidSocket() : ENetException("Cannot allocate socket.") {}
};

class ENetReadTimeout : public ENetException {
public:
    ENetReadTimeout() : ENetException("Read Timeout") {}
};

class ENetReadLnMaxLineLengthExceeded : public ENetException {
public:
    ENetReadLnMaxLineLengthExceeded() : ENetException("Max line length exceeded.") {}
};

class ENetConnectTimeout : public ENetException {
public:
    ENetConnectTimeout() : ENetException("Connect timed out.") {}
};

// A failed resolution, connect, send or receive, with its socket error code.
class ENetSocketError : public ENetException {
public:
    explicit ENetSocketError(int code);
    int LastError() const { return code_; }

private:
    int code_;
};

} // namespace zorvia
