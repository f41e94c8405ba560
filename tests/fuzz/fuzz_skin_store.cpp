// Fuzz target: a stored skin through the LZHUF decoder and the container
// reader, then every entry look-up.
#include "skin/skin_message.h"
#include "skin/skin_reader.h"

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
    if (!reader.ReadStore({data, size}, 64 * 1024))
        return 0;
    zorvia::TSkinReader::Bytes out;
    for (const auto& name : reader.Names())
        reader.ExtractEntry(name, out);
    zorvia::AnsiString name;
    reader.ExtractEntryContaining(".ini", out, name);
    return 0;
}
