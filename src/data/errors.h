#pragma once

#include "text/ansi.h"

#include <exception>
#include <utility>

namespace zorvia {

// Failure of a database operation. what() is the message in code page 936.
class EDatabaseError : public std::exception {
public:
    explicit EDatabaseError(AnsiString message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const AnsiString& Message() const noexcept { return message_; }

private:
    AnsiString message_;
};

// Failure of the SQLite connection or query components themselves (library
// loading, missing database name, query without text or connection).
class ESQLiteError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// A stored text that cannot be read as the value its field declares.
class EConvertError : public std::exception {
public:
    explicit EConvertError(AnsiString message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    AnsiString message_;
};

} // namespace zorvia
