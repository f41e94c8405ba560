#include "portal/chunked.h"

#include "text/ascii_case.h"
#include "text/trim.h"

#include <algorithm>
#include <cctype>

namespace zorvia::portal {

bool isChunked(const std::vector<std::string>& headLines) {
    for (size_t i = 1; i < headLines.size(); ++i) {
        const std::string line = text::toLowerAscii(headLines[i]);
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const auto name = text::trimRight(std::string_view(line).substr(0, colon), text::isBlank);
        if (name == "transfer-encoding" && line.find("chunked", colon) != std::string::npos)
            return true;
    }
    return false;
}

std::optional<std::string> decodeChunked(std::string_view body) {
    std::string out;
    size_t pos = 0;
    while (pos < body.size()) {
        const size_t eol = body.find("\r\n", pos);
        std::string_view sizeLine =
            body.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        if (const auto semi = sizeLine.find(';'); semi != std::string_view::npos)
            sizeLine = sizeLine.substr(0, semi);
        sizeLine = text::trimRight(sizeLine, text::isBlank);
        if (sizeLine.empty() || sizeLine.size() > 15)
            return std::nullopt;
        size_t size = 0;
        for (const char c : sizeLine) {
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
            size = size * 16 + static_cast<size_t>(std::isdigit(static_cast<unsigned char>(c))
                                                       ? c - '0'
                                                       : text::toLowerAscii(c) - 'a' + 10);
        }
        if (size == 0 || eol == std::string_view::npos)
            break; // last chunk: trailers follow and are dropped
        pos = eol + 2;
        const size_t take = std::min(size, body.size() - pos);
        out.append(body.substr(pos, take));
        pos += take;
        if (body.compare(pos, 2, "\r\n") == 0)
            pos += 2;
    }
    return out;
}

} // namespace zorvia::portal
