// Time to parse a category reply of a few sizes into list items: the parse
// is linear, so the time per megabyte stays flat as the reply grows.
#include "portal/list_reply.h"

#include <chrono>
#include <cstdio>
#include <string>

int main() {
    using Clock = std::chrono::steady_clock;
    std::printf("%8s %10s %12s %12s\n", "reply", "items", "ms", "ms per MB");
    for (const std::size_t megabytes : {2u, 16u}) {
        std::string reply;
        std::size_t id = 0;
        while (reply.size() < megabytes * 1024 * 1024) {
            ++id;
            reply += std::to_string(id) + "|Game number " + std::to_string(id) + "|";
        }
        const auto start = Clock::now();
        const auto items = zorvia::portal::parseListReply(reply, "127.0.0.1:8380", "/list.php?id=");
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::printf("%6zuMB %10zu %12.1f %12.2f\n", megabytes, items.size(), ms,
                    ms / double(megabytes));
    }
    return 0;
}
