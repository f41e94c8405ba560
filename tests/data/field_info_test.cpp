#include "data/field_info.h"

#include <gtest/gtest.h>

namespace zorvia {
namespace {

using enum TFieldType;

TEST(GetFieldInfo, DeclaredTypesGiveKindSizeAndPrecision) {
    struct Case {
        const char* declared;
        FieldInfo info;
    };
    const Case cases[] = {
        {"varchar(10)", {ftString, 10, 0}},
        {"VARCHAR(40)", {ftString, 40, 0}},
        {"char(3)", {ftString, 3, 0}},
        {"varchar2(2048)", {ftString, 2048, 0}},
        {"nvarchar(10)", {ftWideString, 20, 0}},
        {"NCHAR(1)", {ftWideString, 2, 0}},
        {"numeric(10,2)", {ftFloat, 10, 2}},
        {"numeric(8.1)", {ftFloat, 8, 1}},
        {"numeric(12)", {ftFloat, 12, 0}},
        {"numeric(10,123)", {ftFloat, 10, 0}},
        {"decimal(10,2)", {ftString, 255, 0}},
        {"varchar (40)", {ftString, 255, 0}},
        {"varchar(abc)", {ftString, 255, 0}},
        {"varchar(40", {ftString, 256, 0}},
        {"date", {ftDate, 10, 0}},
        {"DateTime", {ftDateTime, 24, 0}},
        {"time", {ftTime, 12, 0}},
        {"timestamp", {ftTimeStamp, 12, 0}},
        {"INTEGER", {ftInteger, 12, 0}},
        {"int", {ftInteger, 12, 0}},
        {"integer primary key", {ftString, 255, 0}},
        {"real", {ftFloat, 12, 0}},
        {"float", {ftFloat, 12, 0}},
        {"logical", {ftBoolean, 2, 0}},
        {"boolean", {ftBoolean, 2, 0}},
        {"char", {ftString, 1, 0}},
        {"byte", {ftString, 1, 0}},
        {"string", {ftString, 255, 0}},
        {"widestring", {ftWideString, 512, 0}},
        {"money", {ftCurrency, 10, 0}},
        {"financial", {ftCurrency, 10, 0}},
        {"blob", {ftBlob, 4, 0}},
        {"graphic", {ftGraphic, 4, 0}},
        {"text", {ftMemo, 4, 0}},
        {"longtext", {ftMemo, 4, 0}},
        {"ntext", {ftWideString, 60, 0}},
        {"", {ftString, 255, 0}},
        {"jsonb", {ftString, 255, 0}},
    };
    for (const Case& c : cases) {
        const FieldInfo info = GetFieldInfo(c.declared);
        EXPECT_EQ(info.type, c.info.type) << c.declared;
        EXPECT_EQ(info.size, c.info.size) << c.declared;
        EXPECT_EQ(info.precision, c.info.precision) << c.declared;
    }
}

} // namespace
} // namespace zorvia
