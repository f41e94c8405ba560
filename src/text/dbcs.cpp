#include "text/dbcs.h"

namespace zorvia::text {

ByteType byteTypeAt(std::string_view text, size_t index) {
    // Character boundaries are only known from the start of the text.
    size_t i = 0;
    while (i < text.size()) {
        const bool pair = isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        if (i == index)
            return pair ? ByteType::Lead : ByteType::Single;
        if (pair && i + 1 == index)
            return ByteType::Trail;
        i += pair ? 2 : 1;
    }
    return ByteType::Single;
}

size_t lastDelimiter(std::string_view text, char delimiter) {
    size_t found = std::string_view::npos;
    size_t i = 0;
    while (i < text.size()) {
        if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            i += 2;
            continue;
        }
        if (text[i] == delimiter)
            found = i;
        ++i;
    }
    return found;
}

AnsiString splitstring(std::string_view text, char delimiter) {
    const size_t at = lastDelimiter(text, delimiter);
    if (at == std::string_view::npos)
        return AnsiString(text);
    return AnsiString(text.substr(at + 1));
}

} // namespace zorvia::text
