#include "data/bind_value.h"

#include "text/codepage.h"

#include <cmath>
#include <limits>

namespace zorvia::data {
namespace {

using enum TFieldType;

constexpr const char* kDateFormat = "yyyy-mm-dd";
constexpr const char* kTimeFormat = "hh\":\"nn\":\"ss.zzz";
constexpr const char* kDateTimeFormat = "yyyy-mm-dd hh\":\"nn\":\"ss.zzz";

int bindText(const sqlite::Api& api, sqlite::Stmt* stmt, int index, std::string_view text) {
    if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        return sqlite::kError;
    return api.bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                         sqlite::transient());
}

double numberOf(const FieldValue& value) {
    return numberIn(value, true).value_or(0);
}

} // namespace

int bindValue(const sqlite::Api& api, sqlite::Stmt* stmt, int index, const BindValue& bound,
              bool utf8) {
    const FieldValue& value = bound.value;
    if (bound.type == ftUnknown || std::holds_alternative<std::monostate>(value))
        return api.bind_null(stmt, index);
    switch (bound.type) {
    case ftInteger:
        if (const auto* integer = std::get_if<std::int32_t>(&value))
            return api.bind_int(stmt, index, *integer);
        return api.bind_int(stmt, index, static_cast<int>(std::lround(numberOf(value))));
    case ftFloat:
    case ftCurrency:
        return api.bind_double(stmt, index, numberOf(value));
    case ftDate:
        return bindText(api, stmt, index, formatDateTime(kDateFormat, numberOf(value)));
    case ftTime:
        return bindText(api, stmt, index, formatDateTime(kTimeFormat, numberOf(value)));
    case ftDateTime:
    case ftTimeStamp:
        return bindText(api, stmt, index, formatDateTime(kDateTimeFormat, numberOf(value)));
    case ftWideString: {
        const std::u16string wide = std::holds_alternative<std::u16string>(value)
                                        ? std::get<std::u16string>(value)
                                        : text::ansiToUtf16(valueToText(bound.type, value));
        if (wide.size() > static_cast<size_t>(std::numeric_limits<int>::max() / 2))
            return sqlite::kError;
        return api.bind_text16(stmt, index, wide.data(), static_cast<int>(wide.size() * 2),
                               sqlite::transient());
    }
    case ftBlob:
    case ftGraphic:
    case ftMemo: {
        const std::string bytes = valueToText(bound.type, value);
        if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
            return sqlite::kError;
        return api.bind_blob(stmt, index, bytes.data(), static_cast<int>(bytes.size()),
                             sqlite::transient());
    }
    default: {
        if (const auto* bytes = std::get_if<std::string>(&value))
            return bindText(api, stmt, index, utf8 ? text::ansiToUtf8(*bytes) : *bytes);
        const AnsiString text = valueToText(bound.type, value);
        return bindText(api, stmt, index, utf8 ? text::ansiToUtf8(text) : text);
    }
    }
}

} // namespace zorvia::data
