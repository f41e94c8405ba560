#include "text/file_path.h"

#include "text/codepage.h"
#include "text/iconv_convert.h"

namespace zorvia::text {

using detail::Encoding;

std::string toFileSystem(std::string_view ansiPath) {
    return detail::iconvConvert(Encoding::Utf8, Encoding::Gb18030, ansiPath,
                                [](std::string_view rest, std::string& out) {
                                    // One byte as code page 936 reads it (0x80 is a
                                    // character there).
                                    out += ansiToUtf8(rest.substr(0, 1));
                                    return std::size_t(1);
                                });
}

AnsiString fromFileSystem(std::string_view fileSystemPath) {
    return detail::iconvConvert(Encoding::Gb18030, Encoding::Utf8, fileSystemPath,
                                [](std::string_view, std::string& out) {
                                    out += '?';
                                    return std::size_t(1);
                                });
}

} // namespace zorvia::text
