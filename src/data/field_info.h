#pragma once

#include <string_view>

namespace zorvia {

// The kinds of value a result field holds.
enum class TFieldType {
    ftUnknown,
    ftString,
    ftWideString,
    ftInteger,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftDate,
    ftTime,
    ftDateTime,
    ftTimeStamp,
    ftBlob,
    ftGraphic,
    ftMemo,
};

struct FieldInfo {
    TFieldType type = TFieldType::ftString;
    int size = 255;
    int precision = 0;

    bool operator==(const FieldInfo&) const = default;
};

// The field kind, size and precision for a column's declared type.
FieldInfo GetFieldInfo(std::string_view declaredType);

// True for the kinds whose value is a byte stream read back unconverted.
constexpr bool isBlobLike(TFieldType type) {
    return type == TFieldType::ftBlob || type == TFieldType::ftGraphic ||
           type == TFieldType::ftMemo;
}

} // namespace zorvia
