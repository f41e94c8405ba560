#include "text/file_path.h"

#include "text/codepage.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace zorvia::text {

namespace {

constexpr const char* kPathCharset = "GB18030";
constexpr const char* kDiskCharset = "UTF-8";

// Converts `in`; for a byte sequence the source charset does not accept,
// `onBad(p, left)` appends its own reading and returns how many bytes it took.
template <typename OnBad>
std::string convert(const char* to, const char* from, std::string_view in, OnBad onBad) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, size_t(dst - buffer));
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        std::string bad;
        const size_t taken = onBad(std::string_view(src, srcLeft), bad);
        out += bad;
        src += taken;
        srcLeft -= taken;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string toFileSystem(std::string_view ansiPath) {
    return convert(kDiskCharset, kPathCharset, ansiPath,
                   [](std::string_view rest, std::string& out) {
                       // One byte as code page 936 reads it: 0x80 is a character there.
                       out = ansiToUtf8(rest.substr(0, 1));
                       return size_t(1);
                   });
}

AnsiString fromFileSystem(std::string_view fileSystemPath) {
    return convert(kPathCharset, kDiskCharset, fileSystemPath,
                   [](std::string_view, std::string& out) {
                       out = "?";
                       return size_t(1);
                   });
}

} // namespace zorvia::text
