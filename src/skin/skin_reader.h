#pragma once

#include "text/ansi.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zorvia {

// The container of named entries inside a stored skin: a version header, the
// entry names (one a line), a table of entry sizes and the entries' bytes.
class TSkinReader {
public:
    using Bytes = std::vector<std::uint8_t>;

    // Extra header bytes after the 16-byte header, by container version; -1
    // for a version this reader does not know.
    static int ExtraHeaderSize(std::int32_t version);

    // The message shown for a container version this reader does not know.
    static const char* const OlderSkinMessage;
    // The message shown for a container whose header or tables do not fit.
    static const char* const DamagedSkinMessage;

    // Largest decompressed container accepted, so that a damaged length
    // cannot make the decoder produce gigabytes of nothing.
    static constexpr std::int32_t DefaultSizeLimit = 64 * 1024 * 1024;

    // Decompresses a stored skin (the container size U, then the LZHUF
    // stream) and indexes its container. Returns false, after showing a
    // message, for an unknown version or a damaged container; the reader is
    // then empty.
    bool ReadStore(std::span<const std::uint8_t> stored, std::int32_t sizeLimit = DefaultSizeLimit);

    // Clears `out` and copies the first entry whose name equals `name` (both
    // in lower case); `out` stays empty when there is none.
    void ExtractEntry(const AnsiString& name, Bytes& out) const;
    // Clears `out` and copies the first entry whose name contains `fragment`;
    // on a match `name` becomes that entry's lower-case name and the result
    // is true, otherwise `name` is left as it is.
    bool ExtractEntryContaining(const AnsiString& fragment, Bytes& out, AnsiString& name) const;

    std::int32_t Version() const { return version_; }
    const std::vector<AnsiString>& Names() const { return names_; }
    const std::vector<std::int32_t>& Sizes() const { return sizes_; }

private:
    void clear();
    void copyEntry(std::size_t index, Bytes& out) const;

    std::int32_t version_ = 0;
    std::vector<AnsiString> names_;
    std::vector<std::int32_t> sizes_;
    std::vector<std::size_t> offsets_;
    Bytes data_;
};

namespace skin {

// Splits a name list into lines: CR LF, a lone CR or a lone LF ends a line;
// a last line without an ending still counts.
std::vector<AnsiString> splitLines(std::string_view text);

} // namespace skin
} // namespace zorvia
