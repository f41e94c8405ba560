#pragma once

#include "ui/kit/error_report.h"

#include <exception>
#include <utility>

namespace zorvia::ui {

// Wraps an event handler so that an exception escaping it ends the handler
// and goes to the default error report; the program runs on.
template <class Handler>
auto guarded(Handler handler) {
    return [handler = std::move(handler)](auto&&... args) {
        try {
            handler(std::forward<decltype(args)>(args)...);
        } catch (const std::exception& error) {
            reportException(error);
        }
    };
}

} // namespace zorvia::ui
