#include "data/field_info.h"

#include "data/date_time.h"
#include "text/ascii_case.h"

#include <array>
#include <string>

namespace zorvia {
namespace {

struct NamedType {
    std::string_view name;
    FieldInfo info;
};

using enum TFieldType;

constexpr std::array kPlainTypes{
    NamedType{"date", {ftDate, 10, 0}},
    NamedType{"datetime", {ftDateTime, 24, 0}},
    NamedType{"time", {ftTime, 12, 0}},
    NamedType{"timestamp", {ftTimeStamp, 12, 0}},
    NamedType{"integer", {ftInteger, 12, 0}},
    NamedType{"int", {ftInteger, 12, 0}},
    NamedType{"float", {ftFloat, 12, 0}},
    NamedType{"real", {ftFloat, 12, 0}},
    NamedType{"boolean", {ftBoolean, 2, 0}},
    NamedType{"logical", {ftBoolean, 2, 0}},
    NamedType{"char", {ftString, 1, 0}},
    NamedType{"byte", {ftString, 1, 0}},
    NamedType{"shorttext", {ftString, 255, 0}},
    NamedType{"string", {ftString, 255, 0}},
    NamedType{"widetext", {ftWideString, 512, 0}},
    NamedType{"widestring", {ftWideString, 512, 0}},
    NamedType{"currency", {ftCurrency, 10, 0}},
    NamedType{"financial", {ftCurrency, 10, 0}},
    NamedType{"money", {ftCurrency, 10, 0}},
    NamedType{"blob", {ftBlob, 4, 0}},
    NamedType{"graphic", {ftGraphic, 4, 0}},
    NamedType{"clob", {ftMemo, 4, 0}},
    NamedType{"memo", {ftMemo, 4, 0}},
    NamedType{"text", {ftMemo, 4, 0}},
    NamedType{"longtext", {ftMemo, 4, 0}},
    NamedType{"nclob", {ftWideString, 60, 0}},
    NamedType{"nmemo", {ftWideString, 60, 0}},
    NamedType{"ntext", {ftWideString, 60, 0}},
    NamedType{"nlongtext", {ftWideString, 60, 0}},
};

// The size and precision written as "n", "n.p" or "n,p".
FieldInfo numericInfo(std::string_view inside) {
    const size_t separator = inside.find_first_of(".,");
    const auto size = data::parseInteger(inside.substr(0, separator));
    if (!size || *size < 0)
        return {};
    FieldInfo info{ftFloat, *size, 0};
    if (separator != std::string_view::npos) {
        const std::string_view decimals = inside.substr(separator + 1);
        const auto precision = data::parseInteger(decimals);
        if (precision && *precision >= 0 && decimals.size() <= 2)
            info.precision = *precision;
    }
    return info;
}

} // namespace

FieldInfo GetFieldInfo(std::string_view declaredType) {
    const size_t open = declaredType.find('(');
    if (open == std::string_view::npos) {
        const std::string name = text::toLowerAscii(declaredType);
        for (const NamedType& type : kPlainTypes) {
            if (type.name == name)
                return type.info;
        }
        return {};
    }
    const size_t close = declaredType.find(')');
    if (close == std::string_view::npos)
        return {ftString, 256, 0};

    const std::string head = text::toLowerAscii(declaredType.substr(0, open));
    const std::string_view inside =
        close > open ? declaredType.substr(open + 1, close - open - 1) : std::string_view{};
    if (head == "numeric")
        return numericInfo(inside);
    const bool narrow = head == "varchar" || head == "char" || head == "varchar2";
    const bool wide = head == "nvarchar" || head == "nchar" || head == "nvarchar2";
    if (!narrow && !wide)
        return {};
    const auto length = data::parseInteger(inside);
    if (!length || *length < 0 || *length > 0x3FFFFFFF)
        return {};
    return narrow ? FieldInfo{ftString, *length, 0} : FieldInfo{ftWideString, 2 * *length, 0};
}

} // namespace zorvia
