#include "net/net_exceptions.h"

#include "net/socket_errors.h"

namespace zorvia {

ENetSocketError::ENetSocketError(int code)
    : ENetException("Socket Error # " + std::to_string(code) + "\r\n" + net::socketErrorText(code)),
      code_(code) {}

} // namespace zorvia
