// A small JSON value, reader and writer for the document tools.
//
// Texts of vell documents are single-byte ANSI strings, so JSON strings map
// to bytes one to one: the code points U+0000 to U+00FF stand for the bytes
// 0x00 to 0xFF, whether they are written as \u00XX escapes or as UTF-8 in the
// source; a code point above U+00FF is an error. The writer produces ASCII
// only and writes every byte from 0x7F up as \u00XX, so its output reads back
// to the same bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vell {
namespace json {

// Where a value starts in the source: 1-based line and column (columns count
// characters, not bytes). 0:0 for values made in code.
struct Position {
    int line = 0;
    int column = 0;
};

enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };

// "null", "true or false", "number", ... for messages.
const char* type_name(Type type);

class Value {
public:
    Value() = default;  // null
    static Value boolean(bool b);
    static Value number(double d);
    // The number whose shortest decimal form reads back as exactly f, so a
    // float written out and read again (as double, then cast) is unchanged.
    static Value number_from_float(float f);
    static Value string(std::string s);
    static Value array();
    static Value object();

    Type type() const { return type_; }
    bool is(Type t) const { return type_ == t; }
    Position position() const { return position_; }
    void set_position(Position p) { position_ = p; }

    bool as_bool() const { return boolean_; }
    double as_number() const { return number_; }
    const std::string& as_string() const { return text_; }

    // Arrays: the items. Objects: the values, in source order, with keys().
    size_t size() const { return values_.size(); }
    const Value& at(size_t i) const { return values_[i]; }
    const std::string& key(size_t i) const { return keys_[i]; }

    // Object member by key, or null when absent.
    const Value* find(const std::string& key) const;

    // Appends to an array; returns the new item.
    Value& push(Value v);
    // Sets an object member, keeping the first place of an existing key.
    Value& set(const std::string& key, Value v);

private:
    Type type_ = Type::kNull;
    bool boolean_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<std::string> keys_;  // objects only, parallel to values_
    std::vector<Value> values_;
    Position position_;
};

struct ParseError {
    Position where;
    std::string message;
};

// Parses a whole text (optionally starting with a UTF-8 byte order mark).
// Object keys must be unique. On failure returns false and says where.
bool parse(const std::string& text, Value* out, ParseError* error);

// Pretty output with two-space indentation, ending in a newline. An array or
// object whose items are all scalars is kept on one line when that line fits
// in 120 columns.
std::string write(const Value& value);

// A string as a quoted JSON string literal, escaped as described above.
std::string quote(const std::string& bytes);

// The shortest decimal form of d that reads back as d ("0.1", "12", "1e+30").
std::string format_number(double d);

}  // namespace json
}  // namespace vell
