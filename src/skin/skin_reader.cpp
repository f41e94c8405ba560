#include "skin/skin_reader.h"

#include "skin/lzh.h"
#include "skin/skin_message.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <cstring>

namespace zorvia {

namespace {

constexpr std::size_t HeaderSize = 16;

std::int32_t readI32(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | bytes[at + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(v);
}

} // namespace

const char* const TSkinReader::OlderSkinMessage =
    "This is Older Skin File\rPlease update to new version !";
const char* const TSkinReader::DamagedSkinMessage =
    "This Skin File is damaged\rIts entries cannot be read !";

int TSkinReader::ExtraHeaderSize(std::int32_t version) {
    switch (version) {
    case 20000:
        return 0;
    case 30000:
        return 256;
    case 40000:
        return 80;
    case 50000:
        return 48;
    case 60000:
        return 117;
    case 70000:
        return 69;
    default:
        return -1;
    }
}

void TSkinReader::clear() {
    version_ = 0;
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    data_.clear();
}

bool TSkinReader::ReadStore(std::span<const std::uint8_t> stored, std::int32_t sizeLimit) {
    clear();
    auto damaged = [this] {
        clear();
        skin::showMessage(DamagedSkinMessage);
        return false;
    };
    if (stored.size() < 4)
        return damaged();
    const std::int32_t unpacked = readI32(stored, 0);
    if (unpacked < 0 || unpacked > sizeLimit)
        return damaged();
    const Bytes container = skin::lzhDecode(stored.subspan(4), static_cast<std::size_t>(unpacked));
    const std::span<const std::uint8_t> all(container);

    if (all.size() < HeaderSize)
        return damaged();
    const std::int32_t version = readI32(all, 0);
    const std::int32_t nameListSize = readI32(all, 4);
    const int extra = ExtraHeaderSize(version);
    if (extra < 0) {
        skin::showMessage(OlderSkinMessage);
        return false;
    }
    std::size_t at = HeaderSize + static_cast<std::size_t>(extra);
    if (nameListSize < 0 || at > all.size() ||
        static_cast<std::size_t>(nameListSize) > all.size() - at)
        return damaged();

    const std::string_view nameList(reinterpret_cast<const char*>(all.data() + at),
                                    static_cast<std::size_t>(nameListSize));
    std::vector<AnsiString> names = skin::splitLines(text::toLowerAnsi(nameList));
    at += static_cast<std::size_t>(nameListSize);

    if (names.size() > (all.size() - at) / 4)
        return damaged();
    std::vector<std::int32_t> sizes;
    std::vector<std::size_t> offsets;
    sizes.reserve(names.size());
    offsets.reserve(names.size());
    std::size_t total = 0;
    for (std::size_t i = 0; i < names.size(); ++i, at += 4) {
        const std::int32_t size = readI32(all, at);
        if (size < 0)
            return damaged();
        sizes.push_back(size);
        offsets.push_back(total);
        total += static_cast<std::size_t>(size);
    }
    if (total > all.size() - at)
        return damaged();

    version_ = version;
    names_ = std::move(names);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    data_.assign(all.begin() + static_cast<std::ptrdiff_t>(at), all.end());
    return true;
}

void TSkinReader::copyEntry(std::size_t index, Bytes& out) const {
    const auto first = data_.begin() + static_cast<std::ptrdiff_t>(offsets_[index]);
    out.assign(first, first + sizes_[index]);
}

void TSkinReader::ExtractEntry(const AnsiString& name, Bytes& out) const {
    out.clear();
    const AnsiString wanted = text::toLowerAnsi(name);
    const auto it = std::find(names_.begin(), names_.end(), wanted);
    if (it != names_.end())
        copyEntry(static_cast<std::size_t>(it - names_.begin()), out);
}

bool TSkinReader::ExtractEntryContaining(const AnsiString& fragment, Bytes& out,
                                         AnsiString& name) const {
    out.clear();
    const AnsiString wanted = text::toLowerAnsi(fragment);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(wanted) != AnsiString::npos) {
            copyEntry(i, out);
            name = names_[i];
            return true;
        }
    }
    return false;
}

namespace skin {

std::vector<AnsiString> splitLines(std::string_view text) {
    std::vector<AnsiString> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace skin
} // namespace zorvia
