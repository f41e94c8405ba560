#pragma once

#include "text/ansi.h"

#include <stdexcept>
#include <string_view>

namespace zorvia {

// Root of the game box's errors; what() is the message in code page 936.
class Exception : public std::runtime_error {
public:
    explicit Exception(const AnsiString& message) : std::runtime_error(message) {}
};

// A text that cannot be read as the value asked for.
class EConvertError : public Exception {
public:
    using Exception::Exception;

    // "'text' is not a valid <what>", e.g. what = "integer value".
    static EConvertError notValid(std::string_view text, std::string_view what) {
        return EConvertError("'" + AnsiString(text) + "' is not a valid " + AnsiString(what));
    }
};

} // namespace zorvia
