// Fuzz target: the chunked transfer decoding of a reply body. A decode never
// yields more bytes than it read, and data encoded in chunks decodes back.
#include "fuzz_check.h"
#include "portal/chunked.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using zorvia::fuzz::check;

namespace {

// `payload` cut into chunks of the sizes `provider` gives, as a server
// might write them: hex sizes in either case with leading zeros, an
// extension now and then, a last chunk and a trailer.
std::string encodeChunked(const std::string& payload, FuzzedDataProvider& provider) {
    std::string body;
    std::size_t at = 0;
    while (at < payload.size()) {
        const std::size_t n =
            std::min(payload.size() - at, std::size_t(provider.ConsumeIntegralInRange(1, 300)));
        char size[32];
        std::snprintf(size, sizeof size, provider.ConsumeBool() ? "%zx" : "%03zX", n);
        body += size;
        if (provider.ConsumeBool())
            body += ";name=value";
        body += "\r\n" + payload.substr(at, n) + "\r\n";
        at += n;
    }
    body += "0\r\n";
    if (provider.ConsumeBool())
        body += "Trailer: x\r\n";
    body += "\r\n";
    return body;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    if (const auto decoded = zorvia::portal::decodeChunked(raw))
        check(decoded->size() <= raw.size(), "a chunked decode yields no more bytes than it read");

    FuzzedDataProvider provider(data, size);
    const std::string payload = provider.ConsumeRandomLengthString(size);
    const std::string body = encodeChunked(payload, provider);
    const auto decoded = zorvia::portal::decodeChunked(body);
    check(decoded && *decoded == payload, "data encoded in chunks decodes back");
    return 0;
}
