#include "portal/request_head.h"

#include "portal/url_encode.h"

#include <algorithm>

namespace zorvia::portal {

std::vector<AnsiString> requestHeadLines(const AnsiString& target, const AnsiString& siteHost) {
    return {
        "GET " + encodeRequestTarget(target) + " HTTP/1.1",
        "Host: " + siteHost,
        "Accept: */*",
        "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98",
        "Pragma: no-cache",
        "Cache-Control: no-cache",
        "Connection: Close",
    };
}

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

std::vector<AnsiString> portalRequestLines(const AnsiString& query, const AnsiString& siteHost,
                                           const AnsiString& cookie) {
    auto lines = requestHeadLines("/mini.php?" + query, siteHost);
    if (!cookie.empty())
        lines.push_back("Cookie: " + cookie);
    lines.emplace_back();
    return lines;
}

} // namespace zorvia::portal
