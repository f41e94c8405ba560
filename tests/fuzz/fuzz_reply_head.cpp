// Fuzz target: the head of a portal reply arriving in pieces, then the reply
// line of its body. The bytes past the head's limit are poisoned, so a scan
// that looks at one of them fails under the address sanitizer.
#include "fuzz_check.h"
#include "portal/reply_head.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

using zorvia::fuzz::check;
using zorvia::portal::ReplyHeadScanner;

namespace {

using State = ReplyHeadScanner::State;

// The whole scan of `bytes` fed in pieces of `piece` bytes.
State scanInPieces(ReplyHeadScanner& scanner, std::string_view bytes, std::size_t piece) {
    std::size_t received = 0;
    for (;;) {
        received = std::min(bytes.size(), received + piece);
        const State state = scanner.scan(bytes.substr(0, received));
        if (state != State::More || received == bytes.size())
            return state;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The real limit, or a small one whose edge the fuzzer reaches quickly.
    const std::size_t maxHead = (data[0] & 0x80) != 0 ? 64 * 1024 : std::size_t(data[0]) * 4;
    const std::size_t piece = std::size_t(data[1]) + 1;
    const std::size_t n = size - 2;
    const std::size_t limit = maxHead + 2;

    // The bytes placed so that the limit falls on an 8-byte boundary, which
    // is as fine as the sanitizer poisons.
    const std::size_t shift = (8 - limit % 8) % 8;
    auto storage = std::make_unique<std::uint64_t[]>((n + shift) / 8 + 1);
    char* bytes = reinterpret_cast<char*>(storage.get()) + shift;
    std::copy(data + 2, data + size, bytes);
    const std::string_view all(bytes, n);
    if (n > limit)
        ASAN_POISON_MEMORY_REGION(bytes + limit, n - limit);

    ReplyHeadScanner pieces(maxHead);
    const State state = scanInPieces(pieces, all, piece);
    ReplyHeadScanner whole(maxHead);
    const State once = whole.scan(all);
    if (n > limit)
        ASAN_UNPOISON_MEMORY_REGION(bytes + limit, n - limit);

    check(state == once, "a head read in pieces reads as the same head in one");
    // The head ends at its first empty line: a leading CR LF or the first
    // CR LF CR LF (line ends never overlap).
    std::size_t end = std::string_view::npos;
    if (all.starts_with("\r\n"))
        end = 2;
    else if (const std::size_t blank = all.find("\r\n\r\n"); blank != std::string_view::npos)
        end = blank + 4;
    if (end <= limit)
        check(state == State::Done && pieces.bodyStart() == end,
              "a head that ends within its limit is accepted");
    if (state != State::Done)
        return 0;
    check(pieces.bodyStart() == whole.bodyStart() && pieces.lines() == whole.lines(),
          "the pieces give the same lines and body start");
    check(pieces.bodyStart() <= limit, "an accepted head ends within its limit");
    std::string rebuilt;
    for (const auto& line : pieces.lines())
        rebuilt += line + "\r\n";
    rebuilt += "\r\n";
    check(rebuilt == all.substr(0, pieces.bodyStart()), "the lines are the head's bytes");
    (void)zorvia::portal::replyLineOf(pieces.lines(), std::string(all.substr(pieces.bodyStart())));
    return 0;
}
