// The tools' JSON reader and writer: error places, the byte mapping of
// strings, number formatting and round trips.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "json.h"

using vell::json::ParseError;
using vell::json::Type;
using vell::json::Value;

namespace {

ParseError parse_error(const std::string& text) {
    Value v;
    ParseError e;
    EXPECT_FALSE(vell::json::parse(text, &v, &e)) << "accepted: " << text;
    return e;
}

Value parsed(const std::string& text) {
    Value v;
    ParseError e;
    EXPECT_TRUE(vell::json::parse(text, &v, &e)) << e.message << " at " << e.where.line << ":" << e.where.column;
    return v;
}

TEST(JsonParse, ErrorsNameLineColumnAndCause) {
    struct Case {
        std::string text;
        int line, column;
        std::string cause;
    };
    const Case cases[] = {
        {"{\"a\": 1,\n  \"b\": }", 2, 8, "expected a value"},
        {"[1, 2", 1, 6, "expected ',' or ']'"},
        {"{\"a\": 1 \"b\": 2}", 1, 9, "expected ',' or '}'"},
        {"{\"a\": 1,\n\n   \"a\": 2}", 3, 4, "duplicate member \"a\""},
        {"[01]", 1, 2, "must not start with 0"},
        {"{\"colour\": 0xFF00}", 1, 12, "hexadecimal"},
        {"[1] x", 1, 5, "after the end"},
        {"[\"a\\q\"]", 1, 4, "unknown escape"},
        {"[\"tab\there\"]", 1, 6, "control character"},
        {"[\"\\u20AC\"]", 1, 3, "U+20AC"},
        {"[\"\xE2\x82\xAC\"]", 1, 3, "U+20AC"},
        {"[\"\xC3(\"]", 1, 3, "invalid UTF-8"},
        {"[\"\xC0\xAF\"]", 1, 3, "invalid UTF-8"},  // overlong '/'
        // Columns count characters: the two bytes of an e-acute are one.
        {"[\"\xC3\xA9\" x]", 1, 6, "expected ',' or ']'"},
        {"[1e400]", 1, 2, "too large"},
        {"[-]", 1, 3, "expected digits"},
        {"[1.]", 1, 4, "after the decimal point"},
        {"[tru]", 1, 2, "expected a value"},
        {"", 1, 1, "unexpected end of input"},
        {"\"abc", 1, 5, "inside a string"},
    };
    for (const Case& c : cases) {
        ParseError e = parse_error(c.text);
        EXPECT_EQ(e.where.line, c.line) << c.text;
        EXPECT_EQ(e.where.column, c.column) << c.text;
        EXPECT_NE(e.message.find(c.cause), std::string::npos) << c.text << " -> " << e.message;
    }
}

TEST(JsonParse, DeepNestingIsAnErrorNotACrash) {
    ParseError e = parse_error(std::string(100000, '['));
    EXPECT_NE(e.message.find("nested too deeply"), std::string::npos);
}

TEST(JsonParse, ValuesKeepTheirPlaceAndMemberOrder) {
    Value v = parsed("\xEF\xBB\xBF{\"z\": [true, null],\n \"a\": {\"k\": -2.5e1}}");
    ASSERT_TRUE(v.is(Type::kObject));
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v.key(0), "z");
    EXPECT_EQ(v.key(1), "a");
    EXPECT_TRUE(v.at(0).at(0).as_bool());
    EXPECT_TRUE(v.at(0).at(1).is(Type::kNull));
    const Value* k = v.at(1).find("k");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->as_number(), -25.0);
    EXPECT_EQ(k->position().line, 2);
    EXPECT_EQ(k->position().column, 13);
    EXPECT_EQ(v.find("missing"), nullptr);
}

TEST(JsonStrings, CodePointsUpTo0xFFAreSingleBytes) {
    Value v = parsed("[\"\\u00E9\\u0000A\\n\", \"\xC3\xA9\\u00ff\", \"\\\"\\\\\\/\\b\\f\\r\\t\"]");
    EXPECT_EQ(v.at(0).as_string(), std::string("\xE9\0A\n", 4));
    EXPECT_EQ(v.at(1).as_string(), "\xE9\xFF");
    EXPECT_EQ(v.at(2).as_string(), "\"\\/\b\f\r\t");
}

TEST(JsonStrings, EveryByteIsWrittenAsAsciiAndReadsBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
    std::string quoted = vell::json::quote(all);
    for (char c : quoted) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(c);
    EXPECT_EQ(parsed(quoted).as_string(), all);
    EXPECT_EQ(vell::json::quote("\x01\x7F\x80\xFF\"\\\n"), "\"\\u0001\\u007F\\u0080\\u00FF\\\"\\\\\\n\"");
}

TEST(JsonNumbers, FloatsAreWrittenShortAndReadBackExactly) {
    EXPECT_EQ(vell::json::format_number(Value::number_from_float(0.1f).as_number()), "0.1");
    EXPECT_EQ(vell::json::format_number(Value::number_from_float(7.25f).as_number()), "7.25");
    EXPECT_EQ(vell::json::format_number(Value::number_from_float(16777216.0f).as_number()), "16777216");
    EXPECT_EQ(vell::json::format_number(Value::number_from_float(-0.0f).as_number()), "-0");
    std::mt19937 random(20240117);
    for (int i = 0; i < 20000; ++i) {
        uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f)) continue;
        std::string text = vell::json::format_number(Value::number_from_float(f).as_number());
        float back = float(parsed(text).as_number());
        EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << text;
    }
}

TEST(JsonNumbers, DoublesAndWholeNumbersReadBackExactly) {
    EXPECT_EQ(vell::json::format_number(4294967295.0), "4294967295");
    EXPECT_EQ(vell::json::format_number(-32768), "-32768");
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d)) continue;
        EXPECT_EQ(parsed(vell::json::format_number(d)).as_number(), d);
    }
}

TEST(JsonWrite, ScalarContainersStayOnOneLineAndOutputReadsBack) {
    Value doc = Value::object();
    Value& list = doc.set("list", Value::array());
    list.push(Value::number(1));
    list.push(Value::string("two"));
    Value& nested = doc.set("nested", Value::array());
    nested.push(Value::object()).set("k", Value::boolean(false));
    doc.set("long", Value::array()).push(Value::string(std::string(200, 'x')));
    doc.set("empty", Value::object());
    doc.set("list", Value::array());  // replacing keeps the first place

    std::string text = vell::json::write(doc);
    EXPECT_EQ(text.substr(0, 15), "{\n  \"list\": [],");
    EXPECT_NE(text.find("\"nested\": [\n    {\"k\": false}\n  ]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"long\": [\n    \"xxx"), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
    // Writing what was read gives the same text again.
    EXPECT_EQ(vell::json::write(parsed(text)), text);
}

}  // namespace
