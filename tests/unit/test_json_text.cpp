// What the tools add to nlohmann-json: where values and errors are in the
// text, texts as bytes, floats that come back exactly, and the dump layout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "document_json.h"
#include "json_text.h"

using vell::json::Parsed;
using vell::json::ParseError;
using vell::json::Value;

namespace {

ParseError parse_error(const std::string& text) {
    Parsed p;
    ParseError e;
    EXPECT_FALSE(vell::json::parse(text, &p, &e)) << "accepted: " << text;
    return e;
}

TEST(JsonText, ErrorsNameLineAndColumn) {
    struct Case {
        std::string text;
        int line, column;
        std::string cause;
    };
    const Case cases[] = {
        {"{\"a\": 1,\n  \"b\": }", 2, 8, "unexpected '}'"},
        {"[1, 2", 1, 6, "end of input"},
        {"{\"a\": 1 \"b\": 2}", 1, 9, "unexpected string"},
        {"[1,,2]", 1, 4, "unexpected ','"},
        {"{\"a\" : : 1}", 1, 8, "unexpected ':'"},
        {"[12 :]", 1, 5, "unexpected ':'"},
        {"{\"a\": 1,\n\n   \"a\": 2}", 3, 4, "duplicate member \"a\""},
        {"[\"tab\there\"]", 1, 6, "control character"},
        {"[\"x\\u00e9\\u20AC\"]", 1, 10, "U+20AC"},
        // Columns count characters: the two bytes of an e-acute are one.
        {"[\"\xC3\xA9\" x]", 1, 6, "invalid literal"},
        {"\xEF\xBB\xBF[1e400]", 1, 2, "overflow"},
        {std::string(300, '['), 1, 201, "nested too deeply"},
    };
    for (const Case& c : cases) {
        ParseError e = parse_error(c.text);
        EXPECT_EQ(e.where.line, c.line) << c.text;
        EXPECT_EQ(e.where.column, c.column) << c.text;
        EXPECT_NE(e.message.find(c.cause), std::string::npos) << c.text << " -> " << e.message;
    }
}

TEST(JsonText, ValuesKeepTheirPlaceMemberOrderAndKind) {
    Parsed p;
    ParseError e;
    ASSERT_TRUE(vell::json::parse("\xEF\xBB\xBF{\"z\": [true, -0],\n \"a\": {\"k\": -2.5e1, \"n\": 7}}", &p, &e))
        << e.message;
    EXPECT_EQ(p.root.begin().key(), "z");
    EXPECT_EQ(p.places.of(p.root).column, 1);
    const Value& k = p.root["a"]["k"];
    EXPECT_EQ(p.places.of(k).line, 2);
    EXPECT_EQ(p.places.of(k).column, 13);
    EXPECT_EQ(p.places.of(p.root["a"]["n"]).column, 26);
    EXPECT_TRUE(p.root["a"]["n"].is_number_integer());
    EXPECT_TRUE(std::signbit(p.root["z"][1].get<double>()));  // "-0" stays a negative zero
}

TEST(JsonText, EveryByteIsWrittenAsAsciiAndReadsBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(char(b));
    std::string quoted = vell::json::quote(all);
    for (char c : quoted) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(c);
    Parsed p;
    ParseError e;
    ASSERT_TRUE(vell::json::parse(quoted, &p, &e)) << e.message;
    EXPECT_EQ(p.root.get<std::string>(), all);
    EXPECT_EQ(vell::json::quote("\x01\x7F\xE9\"\\u\n"), "\"\\u0001\\u007F\\u00E9\\\"\\\\u\\n\"");
}

TEST(JsonText, FloatsAreWrittenShortAndReadBackExactly) {
    EXPECT_EQ(vell::json::write(vell::real_value(0.1f)), "0.1\n");
    EXPECT_EQ(vell::json::write(vell::real_value(16777216.0f)), "16777216\n");
    std::mt19937 random(20240117);
    for (int i = 0; i < 20000; ++i) {
        uint32_t bits = i == 0 ? 0x80000000u : uint32_t(random());  // first -0.0
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f)) continue;
        std::string text = vell::json::write(vell::real_value(f));
        Parsed p;
        ParseError e;
        ASSERT_TRUE(vell::json::parse(text, &p, &e)) << text;
        float back = vell::Field(p.root, "").real();
        EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << text;
    }
}

TEST(JsonText, ScalarContainersStayOnOneLine) {
    Value doc = Value::object();
    doc["list"] = Value::array({1, "two"});
    doc["nested"] = Value::array({Value::object({{"k", false}})});
    doc["long"] = Value::array({std::string(200, 'x')});
    doc["empty"] = Value::object();
    const std::string text = vell::json::write(doc);
    EXPECT_EQ(text.substr(0, 24), "{\n  \"list\": [1, \"two\"],\n") << text;
    EXPECT_NE(text.find("\"nested\": [\n    {\"k\": false}\n  ]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"long\": [\n    \"xxx"), std::string::npos) << text;
    EXPECT_NE(text.find("\"empty\": {}\n}\n"), std::string::npos) << text;
}

}  // namespace
