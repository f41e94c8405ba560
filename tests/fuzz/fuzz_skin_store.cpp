// Fuzz target: a stored skin through the LZHUF decoder and the container
// reader, then every entry look-up. Entries cut from the input, packed as
// the skin packer packs them, read back as the same entries.
#include "fuzz_check.h"
#include "lzh_encoder.h"
#include "skin/skin_message.h"
#include "skin/skin_reader.h"
#include "skin_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using zorvia::fuzz::check;

namespace {

// Up to four entries of up to 63 bytes each, their sizes taken from the input.
std::vector<zorvia::skinpack::Entry> entriesOf(const std::uint8_t* data, std::size_t size) {
    std::vector<zorvia::skinpack::Entry> entries;
    std::size_t at = 0;
    while (at < size && entries.size() < 4) {
        const std::size_t n = std::min<std::size_t>(data[at] % 64, size - at - 1);
        entries.push_back(
            {"e" + std::to_string(entries.size()) + ".bmp", {data + at + 1, data + at + 1 + n}});
        at += n + 1;
    }
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        zorvia::skin::setMessageHandler([](const zorvia::AnsiString&) {});
        return true;
    }();
    (void)quiet;
    zorvia::TSkinReader::Bytes out;
    const auto entries = entriesOf(data, size);
    zorvia::TSkinReader packed;
    check(packed.ReadStore(zorvia::skinpack::packStore(zorvia::skinpack::writeContainer(entries))),
          "a packed container is read");
    check(packed.Names().size() == entries.size(), "every packed entry is listed");
    for (const auto& entry : entries) {
        packed.ExtractEntry(entry.name, out);
        check(out == entry.bytes, "a packed entry reads back as its bytes");
    }

    zorvia::TSkinReader reader;
    // A small limit keeps each run short; the size field is what is fuzzed.
    // An input may declare up to 64 bytes for each of its own, more than a
    // stream can give (a 60-byte match takes at least 10 bits), so decoding
    // past the stream's end is still reached, but a few bytes never make the
    // decoder produce kilobytes.
    const auto limit = std::int32_t(std::min<std::size_t>(64 * 1024, 64 * size));
    if (!reader.ReadStore({data, size}, limit))
        return 0;
    for (const auto& name : reader.Names())
        reader.ExtractEntry(name, out);
    zorvia::AnsiString name;
    reader.ExtractEntryContaining(".ini", out, name);
    return 0;
}
