#pragma once

#include "text/exception.h"

namespace zorvia {

// Failure of a database operation. what() is the message in code page 936.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// Failure of the SQLite connection or query components themselves (library
// loading, missing database name, query without text or connection).
class ESQLiteError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

} // namespace zorvia
