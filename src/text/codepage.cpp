#include "text/codepage.h"

#include "text/exception.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <utility>
#include <vector>

namespace zorvia::text {
namespace {

constexpr const char* kAnsi = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kUtf16 = "UTF-16LE";

// One iconv descriptor per conversion, opened for the duration of a call.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw Exception(AnsiString("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`, writing `replacement` (already in the target encoding)
    // for every character that fails. `sourceUnit` is the byte width of a
    // source code unit, used to step over a bad input unit.
    std::string run(std::string_view in, std::string_view replacement, size_t sourceUnit) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // start from the initial state
        std::string out;
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ: unrepresentable or invalid; EINVAL: cut-off sequence at the end.
            out.append(replacement);
            const size_t skip = errno == EINVAL ? srcLeft : badUnitLength(src, srcLeft, sourceUnit);
            src += skip;
            srcLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        return out;
    }

private:
    // Length of the source character at `p` that could not be converted: a
    // whole UTF-8 sequence or UTF-16 unit pair when it is well-formed (an
    // unrepresentable character), otherwise a single unit.
    static size_t badUnitLength(const char* p, size_t left, size_t unit) {
        if (unit == 2) {
            if (left >= 4) {
                const unsigned hi = static_cast<unsigned char>(p[1]);
                const unsigned lo2 = static_cast<unsigned char>(p[3]);
                if (hi >= 0xD8 && hi <= 0xDB && lo2 >= 0xDC && lo2 <= 0xDF)
                    return 4;
            }
            return left >= 2 ? 2 : left;
        }
        if (unit == 3) { // UTF-8: take a well-formed sequence whole
            const unsigned char c = static_cast<unsigned char>(p[0]);
            size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 1;
            if (n > left)
                return 1;
            for (size_t i = 1; i < n; ++i)
                if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
                    return 1;
            return n;
        }
        // Code page 936: a lead byte followed by a trail byte is one character.
        const unsigned char c = static_cast<unsigned char>(p[0]);
        if (c >= 0x81 && c <= 0xFE && left >= 2) {
            const unsigned char t = static_cast<unsigned char>(p[1]);
            if (t >= 0x40 && t <= 0xFE && t != 0x7F)
                return 2;
        }
        return 1;
    }

    iconv_t cd_;
};

constexpr size_t kUnitAnsi = 1;
constexpr size_t kUnitUtf8 = 3; // marker: variable-length UTF-8
constexpr size_t kUnitUtf16 = 2;

std::string_view bytesOf(std::u16string_view s) {
    return {reinterpret_cast<const char*>(s.data()), s.size() * 2};
}

std::u16string unitsOf(const std::string& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return out;
}

// One descriptor per direction and thread, opened on first use.
Converter& converter(const char* to, const char* from) {
    struct Key {
        const char* to;
        const char* from;
    };
    thread_local std::vector<std::pair<Key, std::unique_ptr<Converter>>> cache;
    for (auto& [key, conv] : cache)
        if (key.to == to && key.from == from)
            return *conv;
    cache.emplace_back(Key{to, from}, std::make_unique<Converter>(to, from));
    return *cache.back().second;
}

const std::string_view kQuestion = "?";
const std::string_view kQuestion16("?\0", 2);

} // namespace

std::string ansiToUtf8(std::string_view ansi) {
    return converter(kUtf8, kAnsi).run(ansi, kQuestion, kUnitAnsi);
}

AnsiString utf8ToAnsi(std::string_view utf8) {
    return converter(kAnsi, kUtf8).run(utf8, kQuestion, kUnitUtf8);
}

std::u16string ansiToUtf16(std::string_view ansi) {
    return unitsOf(converter(kUtf16, kAnsi).run(ansi, kQuestion16, kUnitAnsi));
}

AnsiString utf16ToAnsi(std::u16string_view utf16) {
    return converter(kAnsi, kUtf16).run(bytesOf(utf16), kQuestion, kUnitUtf16);
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    return converter(kUtf8, kUtf16).run(bytesOf(utf16), kQuestion, kUnitUtf16);
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    return unitsOf(converter(kUtf16, kUtf8).run(utf8, kQuestion16, kUnitUtf8));
}

std::optional<std::u16string> decodeUtf8Strict(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    const size_t n = utf8.size();
    auto byte = [&](size_t k) { return static_cast<unsigned char>(utf8[k]); };
    while (i < n) {
        const unsigned char c = byte(i);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t len;
        char32_t cp;
        char32_t min;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4, cp = c & 0x07, min = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + len > n)
            return std::nullopt;
        for (size_t k = 1; k < len; ++k) {
            const unsigned char t = byte(i + k);
            if ((t & 0xC0) != 0x80)
                return std::nullopt;
            cp = cp << 6 | (t & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

} // namespace zorvia::text
