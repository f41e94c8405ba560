#include "text/dbcs.h"

#include <gtest/gtest.h>

using namespace zorvia::text;

namespace {

TEST(Dbcs, ByteClasses) {
    EXPECT_FALSE(isLeadByte(0x80));
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0xFE));
    EXPECT_FALSE(isLeadByte(0xFF));
    EXPECT_FALSE(isTrailByte(0x3F));
    EXPECT_TRUE(isTrailByte(0x40));
    EXPECT_FALSE(isTrailByte(0x7F));
    EXPECT_TRUE(isTrailByte(0x80));
    EXPECT_FALSE(isTrailByte(0xFF));
}

TEST(Dbcs, SplitString) {
    // 0x5C is "\" and 0x2F is "/"; 0x3D is "=". In code page 936 the second
    // byte of a double-byte character may take any of those values... except
    // below 0x40, so the backslash (0x5C) is the dangerous one: "\xD3\x5C".
    struct Case {
        std::string text;
        char delimiter;
        std::string want;
    };
    const Case cases[] = {
        {"a\\b\\c.swf", '\\', "c.swf"},
        {"no delimiter", '\\', "no delimiter"},
        {"", '/', ""},
        {"ends/", '/', ""},
        {"/", '/', ""},
        {"x=1; user=bob", '=', "bob"},
        {"dir\\\xD3\x5C.swf", '\\', "\xD3\x5C.swf"},    // trail byte 0x5C is not a delimiter
        {"\xD3\x5C\xCF\x5C", '\\', "\xD3\x5C\xCF\x5C"}, // only trail bytes look like it
        {"a\\\xD3\x5C\\b", '\\', "b"},
        {"http://h/flash/\xD3\xCE.swf", '/', "\xD3\xCE.swf"},
        {"\xD3", '\\', "\xD3"}, // a lone lead byte at the end stands alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitstring(c.text, c.delimiter), c.want) << c.text;
}

TEST(Dbcs, ByteTypeFromStart) {
    const std::string s = "a\xD3\x5C\xCF";
    EXPECT_EQ(byteTypeAt(s, 0), ByteType::Single);
    EXPECT_EQ(byteTypeAt(s, 1), ByteType::Lead);
    EXPECT_EQ(byteTypeAt(s, 2), ByteType::Trail);
    EXPECT_EQ(byteTypeAt(s, 3), ByteType::Single); // lead byte with nothing after it
}

} // namespace
