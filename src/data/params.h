#pragma once

#include "data/bind_value.h"
#include "data/date_time.h"
#include "text/ansi.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zorvia {

// A named statement parameter; null until a value is set.
class TParam {
public:
    explicit TParam(AnsiString name) : name_(std::move(name)) {}

    const AnsiString& Name() const { return name_; }
    TFieldType DataType() const { return bound_.type; }
    bool IsNull() const { return std::holds_alternative<std::monostate>(bound_.value); }
    void Clear() { bound_ = {}; }

    void SetAsString(AnsiString value) { set(TFieldType::ftString, std::move(value)); }
    void SetAsWideString(std::u16string value) { set(TFieldType::ftWideString, std::move(value)); }
    void SetAsInteger(std::int32_t value) { set(TFieldType::ftInteger, value); }
    void SetAsBoolean(bool value) { set(TFieldType::ftBoolean, value); }
    void SetAsFloat(double value) { set(TFieldType::ftFloat, value); }
    void SetAsCurrency(double value) { set(TFieldType::ftCurrency, value); }
    void SetAsDate(data::TDateTime value) { set(TFieldType::ftDate, value); }
    void SetAsTime(data::TDateTime value) { set(TFieldType::ftTime, value); }
    void SetAsDateTime(data::TDateTime value) { set(TFieldType::ftDateTime, value); }
    void SetAsBlob(std::string bytes) { set(TFieldType::ftBlob, std::move(bytes)); }
    void SetAsMemo(std::string bytes) { set(TFieldType::ftMemo, std::move(bytes)); }

    // The value as text, empty for null.
    AnsiString AsString() const { return data::valueToText(bound_.type, bound_.value); }

    const data::BindValue& Bound() const { return bound_; }

private:
    void set(TFieldType type, data::FieldValue value) {
        bound_.type = type;
        bound_.value = std::move(value);
    }

    AnsiString name_;
    data::BindValue bound_;
};

// The parameters of a statement text: one per distinct name (names compared
// without regard to case), and for each marker of the text the parameter it
// stands for.
class TParams {
public:
    TParams() = default;
    // The parameters of the markers `names`, keeping the values of
    // parameters of the same name in `previous`.
    TParams(const std::vector<AnsiString>& names, const TParams& previous);

    int Count() const { return static_cast<int>(items_.size()); }
    TParam& Items(int index) { return items_.at(index); }
    const TParam& Items(int index) const { return items_.at(index); }

    TParam* FindParam(std::string_view name);
    const TParam* FindParam(std::string_view name) const;

    // The parameter of the marker at `position` (0 up) of the text; without
    // markers, the parameter at that index. None past the end.
    const TParam* AtPosition(int position) const;

private:
    std::vector<TParam> items_;
    std::vector<int> positions_;
};

} // namespace zorvia
