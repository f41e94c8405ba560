#include "text/iconv_convert.h"

#include "text/exception.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace zorvia::text::detail {
namespace {

const char* iconvName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Ansi:
        return "CP936";
    case Encoding::Utf8:
        return "UTF-8";
    case Encoding::Utf16:
        return "UTF-16LE";
    case Encoding::Gb18030:
        return "GB18030";
    }
    return "";
}

// Length of the source character at `p` that could not be converted: a
// whole UTF-8 sequence or UTF-16 unit pair when it is well-formed (an
// unrepresentable character), otherwise a single unit.
size_t badUnitLength(const char* p, size_t left, Encoding from) {
    if (from == Encoding::Utf16) {
        if (left >= 4) {
            const unsigned hi = static_cast<unsigned char>(p[1]);
            const unsigned lo2 = static_cast<unsigned char>(p[3]);
            if (hi >= 0xD8 && hi <= 0xDB && lo2 >= 0xDC && lo2 <= 0xDF)
                return 4;
        }
        return left >= 2 ? 2 : left;
    }
    if (from == Encoding::Utf8) { // take a well-formed sequence whole
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

class Converter {
public:
    Converter(Encoding to, Encoding from)
        : cd_(iconv_open(iconvName(to), iconvName(from))), from_(from),
          replacement_(to == Encoding::Utf16 ? std::string_view("?\0", 2) : "?") {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw Exception(AnsiString("iconv cannot convert from ") + iconvName(from) + " to " +
                            iconvName(to));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string run(std::string_view in, const BadInput& onBad) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // start from the initial state
        std::string out;
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        std::string reading; // reused: text with much bad input calls onBad per byte
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
            size_t skip = 0;
            if (onBad) {
                reading.clear();
                skip =
                    std::clamp<size_t>(onBad(std::string_view(src, srcLeft), reading), 1, srcLeft);
                out += reading;
            } else {
                out.append(replacement_);
                skip = errno == EINVAL ? srcLeft : badUnitLength(src, srcLeft, from_);
            }
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
    iconv_t cd_;
    Encoding from_;
    std::string_view replacement_;
};

constexpr int kEncodings = 4;

} // namespace

std::string iconvConvert(Encoding to, Encoding from, std::string_view in) {
    return iconvConvert(to, from, in, {});
}

std::string iconvConvert(Encoding to, Encoding from, std::string_view in, const BadInput& onBad) {
    thread_local std::unique_ptr<Converter> converters[kEncodings][kEncodings];
    std::unique_ptr<Converter>& converter =
        converters[static_cast<int>(to)][static_cast<int>(from)];
    if (!converter)
        converter = std::make_unique<Converter>(to, from);
    return converter->run(in, onBad);
}

} // namespace zorvia::text::detail
