// JSON text for the document tools, read and written with nlohmann-json.
//
// What this adds to the library: where every value starts in the text (so
// that an error in a description names its line and column), texts as
// bytes, and the layout velldump writes.
//
// Texts of vell documents are single-byte ANSI strings, so JSON strings map
// to bytes one to one: the code points U+0000 to U+00FF stand for the bytes
// 0x00 to 0xFF, whether they are written as \u00XX escapes or as UTF-8 in the
// source; a code point above U+00FF is an error. String values and member
// names in a Value hold those bytes, not UTF-8, so a Value is only written
// through write() and quote() here, never through the library's dump().
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <unordered_map>

namespace vell {
namespace json {

// Members keep the order of the text, and velldump's the order it sets them.
using Value = nlohmann::ordered_json;

// 1-based line and column (columns count characters, not bytes); 0:0 for
// values made in code.
struct Position {
    int line = 0;
    int column = 0;
};

// Where each value of a parsed text starts.
class Places {
public:
    Position of(const Value& v) const;
    void set(const Value& v, Position p) { places_[&v] = p; }

private:
    std::unordered_map<const Value*, Position> places_;
};

// A parsed text. The places refer to the values in root, so it is neither
// copied nor moved.
struct Parsed {
    Parsed() = default;
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;

    Value root;
    Places places;
};

struct ParseError {
    Position where;
    std::string message;
};

// Parses a whole text (optionally starting with a UTF-8 byte order mark).
// Object keys must be unique. On failure returns false and says where.
bool parse(const std::string& text, Parsed* out, ParseError* error);

// Pretty output with two-space indentation, ending in a newline. An array or
// object whose items are all scalars is kept on one line when that line fits
// in 120 columns.
std::string write(const Value& value);

// Bytes as a quoted JSON string literal of ASCII characters: every byte
// from 0x7F up, and the control characters, written as escapes.
std::string quote(const std::string& bytes);

// "null", "true or false", "a number", ... for messages.
const char* type_name(const Value& v);

}  // namespace json
}  // namespace vell
