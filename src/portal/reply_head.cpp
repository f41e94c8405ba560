#include "portal/reply_head.h"

#include "portal/chunked.h"
#include "portal/reply_text.h"

#include <algorithm>

namespace zorvia::portal {

namespace {

std::string withoutLineBreaks(const std::string& body) {
    std::string out;
    out.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += body[i];
    }
    return out;
}

} // namespace

ReplyHeadScanner::State ReplyHeadScanner::scan(std::string_view received) {
    // A line end past maxHead + 2 could only refuse the head.
    const std::string_view window = received.substr(0, maxHead_ + 2);
    for (;;) {
        const size_t from = lineStart_ + (searched_ > 0 ? searched_ - 1 : 0);
        const size_t eol = window.find("\r\n", from);
        if (eol == std::string_view::npos) {
            // The head's last CR may stand at maxHead, its LF still to come.
            if (received.size() >= maxHead_ + 2)
                return State::Refused;
            searched_ = window.size() - lineStart_;
            return State::More;
        }
        if (eol == lineStart_) {
            bodyStart_ = eol + 2;
            return State::Done;
        }
        lines_.emplace_back(window.substr(lineStart_, eol - lineStart_));
        lineStart_ = eol + 2;
        searched_ = 0;
        if (lineStart_ > maxHead_)
            return State::Refused;
    }
}

AnsiString replyLineOf(const std::vector<std::string>& head, std::string body) {
    if (isChunked(head)) {
        if (auto decoded = decodeChunked(body))
            body = std::move(*decoded);
    }
    return replyText(withoutLineBreaks(body));
}

} // namespace zorvia::portal
