#include "json.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vell {
namespace json {

const char* type_name(Type type) {
    switch (type) {
    case Type::kNull: return "null";
    case Type::kBool: return "true or false";
    case Type::kNumber: return "a number";
    case Type::kString: return "a string";
    case Type::kArray: return "an array";
    case Type::kObject: return "an object";
    }
    return "a value";
}

// ---- Values ----------------------------------------------------------------

Value Value::boolean(bool b) {
    Value v;
    v.type_ = Type::kBool;
    v.boolean_ = b;
    return v;
}

Value Value::number(double d) {
    Value v;
    v.type_ = Type::kNumber;
    v.number_ = d;
    return v;
}

Value Value::number_from_float(float f) {
    if (!std::isfinite(f)) return number(double(f));
    // The fewest significant digits that give back f once read as a double
    // and cast to float, the way the tools read numbers.
    char buffer[40];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, double(f));
        double d = std::strtod(buffer, nullptr);
        if (float(d) == f) return number(d);
    }
    return number(double(f));
}

Value Value::string(std::string s) {
    Value v;
    v.type_ = Type::kString;
    v.text_ = std::move(s);
    return v;
}

Value Value::array() {
    Value v;
    v.type_ = Type::kArray;
    return v;
}

Value Value::object() {
    Value v;
    v.type_ = Type::kObject;
    return v;
}

const Value* Value::find(const std::string& key) const {
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key) return &values_[i];
    return nullptr;
}

Value& Value::push(Value v) {
    values_.push_back(std::move(v));
    return values_.back();
}

Value& Value::set(const std::string& key, Value v) {
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key) return values_[i] = std::move(v);
    keys_.push_back(key);
    values_.push_back(std::move(v));
    return values_.back();
}

// ---- Numbers ---------------------------------------------------------------

std::string format_number(double d) {
    // JSON has no NaN or infinity; callers write those some other way.
    if (!std::isfinite(d)) return "null";
    if (d == std::floor(d) && std::fabs(d) < 1e15) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.0f", d);
        return buffer;  // "-0" for negative zero, which reads back as -0.0
    }
    char buffer[40];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, d);
        if (std::strtod(buffer, nullptr) == d) break;
    }
    return buffer;
}

// ---- Reader ----------------------------------------------------------------

namespace {

// Parse failures travel as this exception from deep inside the recursive
// descent up to parse(), which turns it into a ParseError.
struct Failure {
    Position where;
    std::string message;
};

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {
        if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) i_ = 3;
    }

    Value document() {
        skip_space();
        Value v = value(0);
        skip_space();
        if (i_ < s_.size()) fail("unexpected " + describe_here() + " after the end of the JSON value");
        return v;
    }

private:
    static constexpr int kMaxDepth = 200;

    [[noreturn]] void fail(const std::string& message) { fail_at(here(), message); }
    [[noreturn]] void fail_at(Position p, const std::string& message) { throw Failure{p, message}; }

    Position here() const { return Position{line_, column_}; }

    std::string describe_here() const {
        if (i_ >= s_.size()) return "end of input";
        unsigned char c = static_cast<unsigned char>(s_[i_]);
        if (c >= 0x20 && c < 0x7F) return std::string("'") + char(c) + "'";
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "byte 0x%02X", c);
        return buffer;
    }

    // Moves past one byte, keeping line and column. UTF-8 continuation bytes
    // do not start a new column.
    void advance() {
        unsigned char c = static_cast<unsigned char>(s_[i_++]);
        if (c == '\n') {
            ++line_;
            column_ = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column_;
        }
    }

    void skip_space() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
            advance();
    }

    bool at(char c) const { return i_ < s_.size() && s_[i_] == c; }

    void expect(char c, const char* context) {
        if (!at(c)) fail(std::string("expected '") + c + "' " + context + ", found " + describe_here());
        advance();
    }

    Value value(int depth) {
        if (depth > kMaxDepth) fail("values are nested too deeply");
        Position start = here();
        Value v;
        if (i_ >= s_.size()) fail("unexpected end of input, expected a value");
        char c = s_[i_];
        if (c == '{') v = object(depth);
        else if (c == '[') v = array(depth);
        else if (c == '"') v = Value::string(string_literal());
        else if (c == '-' || (c >= '0' && c <= '9')) v = number();
        else if (word("true")) v = Value::boolean(true);
        else if (word("false")) v = Value::boolean(false);
        else if (word("null")) v = Value();
        else fail("expected a value, found " + describe_here());
        v.set_position(start);
        return v;
    }

    bool word(const char* w) {
        size_t n = 0;
        while (w[n]) ++n;
        if (s_.compare(i_, n, w) != 0) return false;
        for (size_t k = 0; k < n; ++k) advance();
        return true;
    }

    Value object(int depth) {
        Value v = Value::object();
        advance();  // '{'
        skip_space();
        if (at('}')) {
            advance();
            return v;
        }
        for (;;) {
            skip_space();
            Position key_at = here();
            if (!at('"')) fail("expected a member name in double quotes, found " + describe_here());
            std::string key = string_literal();
            if (v.find(key)) fail_at(key_at, "duplicate member " + quote(key));
            skip_space();
            expect(':', "after a member name");
            skip_space();
            v.set(key, value(depth + 1));
            skip_space();
            if (at(',')) {
                advance();
                continue;
            }
            if (at('}')) {
                advance();
                return v;
            }
            fail("expected ',' or '}' after an object member, found " + describe_here());
        }
    }

    Value array(int depth) {
        Value v = Value::array();
        advance();  // '['
        skip_space();
        if (at(']')) {
            advance();
            return v;
        }
        for (;;) {
            skip_space();
            v.push(value(depth + 1));
            skip_space();
            if (at(',')) {
                advance();
                continue;
            }
            if (at(']')) {
                advance();
                return v;
            }
            fail("expected ',' or ']' after an array item, found " + describe_here());
        }
    }

    Value number() {
        Position start = here();
        size_t begin = i_;
        if (at('-')) advance();
        if (at('0')) {
            advance();
            if (i_ < s_.size() && (s_[i_] == 'x' || s_[i_] == 'X'))
                fail_at(start, "hexadecimal numbers are not JSON; write the number in decimal "
                               "(colours can be written as \"#RRGGBB\")");
            if (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9')
                fail_at(start, "a number must not start with 0 followed by digits");
        } else if (!digits()) {
            fail("expected digits in a number, found " + describe_here());
        }
        if (at('.')) {
            advance();
            if (!digits()) fail("expected digits after the decimal point, found " + describe_here());
        }
        if (at('e') || at('E')) {
            advance();
            if (at('+') || at('-')) advance();
            if (!digits()) fail("expected digits in the exponent, found " + describe_here());
        }
        std::string text = s_.substr(begin, i_ - begin);
        double d = std::strtod(text.c_str(), nullptr);
        if (std::isinf(d)) fail_at(start, "the number " + text + " is too large");
        return Value::number(d);
    }

    bool digits() {
        bool any = false;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
            advance();
            any = true;
        }
        return any;
    }

    // One code point becomes one byte; anything above U+00FF cannot be a
    // byte of a single-byte text.
    void add_code_point(std::string& out, unsigned long cp, Position where) {
        if (cp > 0xFF) {
            char buffer[160];
            std::snprintf(buffer, sizeof buffer,
                          "character U+%04lX is not a single byte: texts are single-byte "
                          "(Windows ANSI) and take only U+0000 to U+00FF; write other "
                          "bytes as \\u00XX",
                          cp);
            fail_at(where, buffer);
        }
        out.push_back(char(cp));
    }

    std::string string_literal() {
        advance();  // opening quote
        std::string out;
        for (;;) {
            if (i_ >= s_.size()) fail("unexpected end of input inside a string");
            Position where = here();
            unsigned char c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                advance();
                return out;
            }
            if (c < 0x20) fail("control character in a string; write it as an escape such as \\n or \\u00XX");
            if (c == '\\') {
                advance();
                if (i_ >= s_.size()) fail("unexpected end of input inside a string");
                char e = s_[i_];
                advance();
                switch (e) {
                case '"': out.push_back('"'); break;
                case '\\': out.push_back('\\'); break;
                case '/': out.push_back('/'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'n': out.push_back('\n'); break;
                case 'r': out.push_back('\r'); break;
                case 't': out.push_back('\t'); break;
                case 'u': add_code_point(out, hex4(), where); break;
                default: fail_at(where, std::string("unknown escape \\") + e);
                }
                continue;
            }
            if (c < 0x80) {
                out.push_back(char(c));
                advance();
                continue;
            }
            add_code_point(out, utf8(where), where);
        }
    }

    unsigned long hex4() {
        unsigned long v = 0;
        for (int k = 0; k < 4; ++k) {
            if (i_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[i_])))
                fail("expected four hexadecimal digits after \\u, found " + describe_here());
            char c = s_[i_];
            v = v * 16 + unsigned(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
            advance();
        }
        return v;
    }

    // Decodes one UTF-8 sequence; rejects malformed and overlong ones.
    unsigned long utf8(Position where) {
        unsigned char c = static_cast<unsigned char>(s_[i_]);
        int extra = c >= 0xF0 && c <= 0xF4 ? 3 : (c >= 0xE0 && c < 0xF0) ? 2 : (c >= 0xC2 && c < 0xE0) ? 1 : -1;
        if (extra < 0) fail_at(where, "invalid UTF-8 byte in a string");
        unsigned long cp = c & (0x3F >> extra);
        advance();
        for (int k = 0; k < extra; ++k) {
            if (i_ >= s_.size() || (static_cast<unsigned char>(s_[i_]) & 0xC0) != 0x80)
                fail_at(where, "invalid UTF-8 sequence in a string");
            cp = (cp << 6) | (static_cast<unsigned char>(s_[i_]) & 0x3F);
            advance();
        }
        static const unsigned long kMin[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            fail_at(where, "invalid UTF-8 sequence in a string");
        return cp;
    }

    const std::string& s_;
    size_t i_ = 0;
    int line_ = 1;
    int column_ = 1;
};

}  // namespace

bool parse(const std::string& text, Value* out, ParseError* error) {
    try {
        Parser parser(text);
        *out = parser.document();
        return true;
    } catch (const Failure& f) {
        if (error) *error = ParseError{f.where, f.message};
        return false;
    }
}

// ---- Writer ----------------------------------------------------------------

std::string quote(const std::string& bytes) {
    std::string out = "\"";
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
                out += buffer;
            } else {
                out.push_back(ch);
            }
        }
    }
    out += '"';
    return out;
}

namespace {

constexpr size_t kLineWidth = 120;

std::string scalar(const Value& v) {
    switch (v.type()) {
    case Type::kNull: return "null";
    case Type::kBool: return v.as_bool() ? "true" : "false";
    case Type::kNumber: return format_number(v.as_number());
    case Type::kString: return quote(v.as_string());
    default: return std::string();
    }
}

bool is_container(const Value& v) { return v.is(Type::kArray) || v.is(Type::kObject); }

// The one-line form of a container of scalars, or empty when it has a
// container inside.
std::string one_line(const Value& v) {
    bool object = v.is(Type::kObject);
    std::string out = object ? "{" : "[";
    for (size_t i = 0; i < v.size(); ++i) {
        if (is_container(v.at(i))) return std::string();
        if (i) out += ", ";
        if (object) out += quote(v.key(i)) + ": ";
        out += scalar(v.at(i));
    }
    return out + (object ? "}" : "]");
}

void write_value(const Value& v, size_t indent, size_t used, std::string& out) {
    if (!is_container(v)) {
        out += scalar(v);
        return;
    }
    bool object = v.is(Type::kObject);
    if (v.size() == 0) {
        out += object ? "{}" : "[]";
        return;
    }
    std::string flat = one_line(v);
    if (!flat.empty() && used + flat.size() <= kLineWidth) {
        out += flat;
        return;
    }
    out += object ? "{\n" : "[\n";
    std::string pad(indent + 2, ' ');
    for (size_t i = 0; i < v.size(); ++i) {
        out += pad;
        size_t line_start = out.size() - pad.size();
        if (object) out += quote(v.key(i)) + ": ";
        write_value(v.at(i), indent + 2, out.size() - line_start + 1, out);
        out += i + 1 < v.size() ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + (object ? "}" : "]");
}

}  // namespace

std::string write(const Value& value) {
    std::string out;
    write_value(value, 0, 0, out);
    out += '\n';
    return out;
}

}  // namespace json
}  // namespace vell
