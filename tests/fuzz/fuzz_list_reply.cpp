// Fuzz target: the list reply "id|name|id|name|...". A parse never yields
// more items than separators, nor fewer than half of them, and every field
// lies between separators.
#include "fuzz_check.h"
#include "portal/list_reply.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using zorvia::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    const std::string prefix = "http://portal.test/mini.php?catid=";
    const auto items = zorvia::portal::parseListReply(reply, "portal.test", "/mini.php?catid=");
    const auto separators = std::size_t(std::count(reply.begin(), reply.end(), '|'));
    check(items.size() <= separators, "no more items than separators");
    check(2 * items.size() >= separators, "every separator ends a field of an item");
    // The fields, joined again, are the reply up to its last separator, or
    // the whole reply when it lacks the final name's closing separator.
    std::string rebuilt;
    rebuilt.reserve(reply.size() + 1);
    for (const auto& item : items) {
        check(item.link.rfind(prefix, 0) == 0, "a link is the path and the identifier");
        const std::string_view id = std::string_view(item.link).substr(prefix.size());
        check(id.find('|') == std::string::npos && item.display.find('|') == std::string::npos,
              "no field holds a separator");
        rebuilt.append(id).append(1, '|').append(item.display).append(1, '|');
    }
    const std::size_t last = reply.rfind('|');
    const bool open = !items.empty() && 2 * items.size() - 1 == separators;
    if (open)
        check(rebuilt.substr(0, rebuilt.size() - items.back().display.size() - 1) ==
                  reply.substr(0, last + 1),
              "the fields make up the reply");
    else
        check(rebuilt == reply.substr(0, last == std::string::npos ? 0 : last + 1),
              "the fields make up the reply");
    return 0;
}
