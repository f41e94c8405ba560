#pragma once

#include <string_view>

namespace zorvia::text {

constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
constexpr bool isControlOrSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The text without its leading (trailing) bytes for which strip is true.
template <typename Strip>
constexpr std::string_view trimLeft(std::string_view text, Strip strip) {
    while (!text.empty() && strip(text.front()))
        text.remove_prefix(1);
    return text;
}
template <typename Strip>
constexpr std::string_view trimRight(std::string_view text, Strip strip) {
    while (!text.empty() && strip(text.back()))
        text.remove_suffix(1);
    return text;
}

// Without leading and trailing spaces and tabs.
constexpr std::string_view trimBlanks(std::string_view text) {
    return trimRight(trimLeft(text, isBlank), isBlank);
}

// Without leading and trailing control characters and spaces (the bytes up
// to and including 0x20).
constexpr std::string_view trim(std::string_view text) {
    return trimRight(trimLeft(text, isControlOrSpace), isControlOrSpace);
}

} // namespace zorvia::text
