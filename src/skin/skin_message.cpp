#include "skin/skin_message.h"

#include <cstdio>
#include <utility>

namespace zorvia::skin {

namespace {

MessageHandler& installed() {
    static MessageHandler handler;
    return handler;
}

} // namespace

MessageHandler setMessageHandler(MessageHandler handler) {
    return std::exchange(installed(), std::move(handler));
}

void showMessage(const AnsiString& text) {
    if (const auto& handler = installed()) {
        handler(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace zorvia::skin
