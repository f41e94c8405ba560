#pragma once

#include "text/ansi.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorvia::portal {

// The head of a portal reply read as it arrives: lines ended by CR LF up to
// the empty line. The head with its final CR LF may take maxHead + 2 bytes;
// the scan never looks at a byte past that.
class ReplyHeadScanner {
public:
    enum class State { More, Done, Refused };

    explicit ReplyHeadScanner(std::size_t maxHead) : maxHead_(maxHead) {}

    // Scans `received`, everything received so far (each call extends the
    // last one's bytes): Done when the empty line has come, Refused when the
    // head runs past its limit, More when it needs more bytes.
    State scan(std::string_view received);
    // Where the body starts in what was received, once Done.
    std::size_t bodyStart() const { return bodyStart_; }
    // The head's lines without their CR LF, the status line first.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::size_t maxHead_;
    std::size_t lineStart_ = 0;
    std::size_t searched_ = 0; // bytes from lineStart_ on known to hold no CR LF
    std::size_t bodyStart_ = 0;
    std::vector<std::string> lines_;
};

// The reply line of a reply whose head is `head`: a chunked body decoded,
// its CR LF pairs removed, decoded from UTF-8 into code page 936.
AnsiString replyLineOf(const std::vector<std::string>& head, std::string body);

} // namespace zorvia::portal
