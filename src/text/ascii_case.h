#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace zorvia::text {

// Equality of two texts without regard to the case of ASCII letters.
inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace zorvia::text
