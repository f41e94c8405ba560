#include "portal/url_encode.h"

#include <QByteArray>

namespace zorvia::portal {

AnsiString URLEncode(std::string_view text) {
    // Letters, digits, "-", "." and "_" stay; "~" is encoded like the rest.
    return QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()))
        .toPercentEncoding({}, "~")
        .toStdString();
}

namespace {

bool targetMayCarry(unsigned char byte) {
    if (byte <= 0x20 || byte >= 0x7F)
        return false;
    switch (byte) {
    case '"':
    case '#':
    case '<':
    case '>':
    case '\\':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
        return false;
    default:
        return true;
    }
}

} // namespace

AnsiString encodeRequestTarget(std::string_view target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    AnsiString out;
    out.reserve(target.size());
    for (const char c : target) {
        const auto byte = static_cast<unsigned char>(c);
        if (targetMayCarry(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

} // namespace zorvia::portal
