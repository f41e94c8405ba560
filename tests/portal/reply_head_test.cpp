#include "portal/reply_head.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace zorvia::portal;
using State = ReplyHeadScanner::State;

namespace {

// The scan of `bytes` as it arrives in pieces of `piece` bytes.
State scanInPieces(ReplyHeadScanner& scanner, const std::string& bytes, size_t piece) {
    size_t received = 0;
    for (;;) {
        received = std::min(bytes.size(), received + piece);
        const State state = scanner.scan(std::string_view(bytes).substr(0, received));
        if (state != State::More || received == bytes.size())
            return state;
    }
}

TEST(ReplyHead, EndsWithinItsLimitHoweverItArrives) {
    const std::string head = "HTTP/1.1 200 OK\r\nX: 1\r\n\r\n"; // 25 bytes, last CR at 23
    const struct {
        const char* what;
        size_t maxHead;
        State state;
    } cases[] = {
        {"last CR at the limit", 23, State::Done},
        {"last CR past the limit", 22, State::Refused},
        {"a header line ending past the limit", 20, State::Refused},
    };
    for (const auto& c : cases) {
        for (const size_t piece : {size_t(1), size_t(25), head.size() + 5}) {
            ReplyHeadScanner scanner(c.maxHead);
            EXPECT_EQ(scanInPieces(scanner, head + "body", piece), c.state)
                << c.what << ", pieces of " << piece;
            if (c.state != State::Done)
                continue;
            EXPECT_EQ(scanner.bodyStart(), head.size()) << c.what;
            EXPECT_EQ(scanner.lines(), (std::vector<std::string>{"HTTP/1.1 200 OK", "X: 1"}));
        }
    }
}

} // namespace
