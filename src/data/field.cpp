#include "data/field.h"

#include "data/errors.h"
#include "data/format_settings.h"
#include "data/sqlite_query.h"
#include "text/codepage.h"

#include <cmath>

namespace zorvia {
namespace {

using enum TFieldType;

} // namespace

const data::Cell* TField::cell() const {
    return dataSet_->currentCell(index_);
}

bool TField::IsNull() const {
    const data::Cell* current = cell();
    return current == nullptr || !current->present;
}

data::FieldValue TField::Value() const {
    const data::Cell* current = cell();
    return current == nullptr ? data::FieldValue() : dataSet_->rowCache().value(*current);
}

AnsiString TField::AsString() const {
    const data::Cell* current = cell();
    if (current == nullptr || !current->present)
        return {};
    if (current->kind == data::Cell::Kind::Bytes) {
        const std::string_view bytes = dataSet_->rowCache().bytes(*current);
        if (DataType() == ftString && dataSet_->readsUtf8())
            return text::utf8ToAnsi(bytes);
        return AnsiString(bytes);
    }
    return data::valueToText(DataType(), dataSet_->rowCache().value(*current));
}

std::int32_t TField::AsInteger() const {
    if (IsNull())
        return 0;
    const data::FieldValue value = Value();
    if (const auto* integer = std::get_if<std::int32_t>(&value))
        return *integer;
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? 1 : 0;
    if (const auto* number = std::get_if<double>(&value)) {
        if (std::fabs(*number) < 2147483647.5)
            return static_cast<std::int32_t>(std::lround(*number));
    }
    const AnsiString text = AsString();
    if (const auto parsed = data::parseInteger(text))
        return *parsed;
    throw EConvertError::notValid(text, "integer value");
}

double TField::AsFloat() const {
    if (IsNull())
        return 0;
    if (const auto number = data::numberIn(Value(), true))
        return *number;
    const AnsiString text = AsString();
    if (const auto parsed = data::parseDecimal(text, data::formatSettings().decimalSeparator))
        return *parsed;
    throw EConvertError::notValid(text, "floating point value");
}

bool TField::AsBoolean() const {
    if (IsNull())
        return false;
    const data::FieldValue value = Value();
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag;
    if (const auto* integer = std::get_if<std::int32_t>(&value))
        return *integer != 0;
    if (const auto* number = std::get_if<double>(&value))
        return *number != 0;
    const AnsiString text = AsString();
    if (const auto parsed = data::parseBoolean(text))
        return *parsed;
    throw EConvertError::notValid(text, "boolean value");
}

data::TDateTime TField::AsDateTime() const {
    if (IsNull())
        return 0;
    if (const auto number = data::numberIn(Value(), false))
        return *number;
    throw EConvertError::notValid(AsString(), "date and time");
}

} // namespace zorvia
