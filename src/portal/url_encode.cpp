#include "portal/url_encode.h"

#include <QByteArray>

namespace zorvia::portal {

AnsiString URLEncode(std::string_view text) {
    // Letters, digits, "-", "." and "_" stay; "~" is encoded like the rest.
    return QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size()))
        .toPercentEncoding({}, "~")
        .toStdString();
}

} // namespace zorvia::portal
