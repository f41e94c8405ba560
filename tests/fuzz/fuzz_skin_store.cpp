// Fuzz target: a stored skin through the LZHUF decoder and the container
// reader, then every entry look-up.
#include "skin/skin_message.h"
#include "skin/skin_reader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        zorvia::skin::setMessageHandler([](const zorvia::AnsiString&) {});
        return true;
    }();
    (void)quiet;
    zorvia::TSkinReader reader;
    // A small limit keeps each run short; the size field is what is fuzzed.
    // An input may declare up to 64 bytes for each of its own, more than a
    // stream can give (a 60-byte match takes at least 10 bits), so decoding
    // past the stream's end is still reached, but a few bytes never make the
    // decoder produce kilobytes.
    const auto limit = std::int32_t(std::min<std::size_t>(64 * 1024, 64 * size));
    if (!reader.ReadStore({data, size}, limit))
        return 0;
    zorvia::TSkinReader::Bytes out;
    for (const auto& name : reader.Names())
        reader.ExtractEntry(name, out);
    zorvia::AnsiString name;
    reader.ExtractEntryContaining(".ini", out, name);
    return 0;
}
