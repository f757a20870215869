// Reading JSON text: the library parses, this notes where each value starts
// and turns texts into bytes.
#include "json_text.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

namespace vell {
namespace json {

Position Places::of(const Value& v) const {
    auto it = places_.find(&v);
    return it == places_.end() ? Position{} : it->second;
}

const char* type_name(const Value& v) {
    if (v.is_null()) return "null";
    if (v.is_boolean()) return "true or false";
    if (v.is_number()) return "a number";
    if (v.is_string()) return "a string";
    if (v.is_array()) return "an array";
    return "an object";
}

namespace {

constexpr int kMaxDepth = 200;

// The library does not say where a value starts. It reads the text through
// this iterator, which notes how many bytes it has read so far; a value
// starts at the first byte after the previous token that is neither blank
// nor a separator.
struct CountingIterator {
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    const char* at;
    const char* begin;
    size_t* read;

    reference operator*() const {
        const size_t n = size_t(at - begin) + 1;
        if (n > *read) *read = n;
        return *at;
    }
    CountingIterator& operator++() {
        ++at;
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator old = *this;
        ++at;
        return old;
    }
    bool operator==(const CountingIterator& o) const { return at == o.at; }
    bool operator!=(const CountingIterator& o) const { return at != o.at; }
};

// Turns byte offsets, asked for in increasing order, into lines and columns.
class LineCounter {
public:
    explicit LineCounter(const std::string& text) : text_(text) {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) offset_ = 3;  // a byte order mark is no column
    }

    Position at(size_t offset) {
        if (offset > text_.size()) offset = text_.size();
        for (; offset_ < offset; ++offset_) {
            const unsigned char c = static_cast<unsigned char>(text_[offset_]);
            if (c == '\n') {
                ++here_.line;
                here_.column = 1;
            } else if ((c & 0xC0) != 0x80) {  // UTF-8 continuation bytes are no new character
                ++here_.column;
            }
        }
        return here_;
    }

private:
    const std::string& text_;
    size_t offset_ = 0;
    Position here_{1, 1};
};

// The library's UTF-8 string as bytes. It has checked the UTF-8 already;
// code points up to U+00FF take one or two bytes. Returns the index of the
// first code point above U+00FF, or -1 when there is none.
long to_bytes(const std::string& utf8, std::string* out, unsigned long* too_large) {
    out->clear();
    long index = 0;
    for (size_t i = 0; i < utf8.size(); ++index) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out->push_back(char(c));
            ++i;
            continue;
        }
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        unsigned long cp = c & (0x7F >> length);
        for (int k = 1; k < length && i + size_t(k) < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + size_t(k)] & 0x3F);
        if (cp > 0xFF) {
            *too_large = cp;
            return index;
        }
        out->push_back(char(cp));
        i += size_t(length);
    }
    return -1;
}

// Builds the value from the library's events and notes where each value
// starts, in the order the values appear.
class Builder : public nlohmann::json_sax<Value> {
public:
    Builder(const std::string& text, const size_t* read, Value* root) : text_(text), read_(read), root_(root) {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) end_of_last_ = 3;  // the library skips a byte order mark
    }

    bool null() override { return put(Value(), start()); }
    bool boolean(bool b) override { return put(Value(b), start()); }
    bool number_integer(number_integer_t v) override {
        const size_t at = number_start();
        // "-0" is a negative zero, as a float written out as -0 must stay.
        if (v == 0 && text_[at] == '-') return put(Value(-0.0), at);
        return put(Value(v), at);
    }
    bool number_unsigned(number_unsigned_t v) override { return put(Value(v), number_start()); }
    bool number_float(number_float_t v, const string_t&) override { return put(Value(v), number_start()); }
    bool string(string_t& s) override {
        const size_t at = start();
        std::string bytes;
        return single_bytes(s, at, &bytes) && put(Value(std::move(bytes)), at);
    }
    bool binary(binary_t&) override { return true; }  // JSON text has no binary values

    bool start_object(std::size_t) override { return open(Value::object()); }
    bool start_array(std::size_t) override { return open(Value::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& k) override {
        const size_t at = start();
        separator_ = ':';
        if (!single_bytes(k, at, &key_)) return false;
        if (!open_.back().keys.insert(key_).second) return fail(at, "duplicate member " + quote(key_));
        return true;
    }

    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
        // "[json.exception.parse_error.101] parse error at line 1, column 5: syntax error ...": the
        // place is ours (the library counts bytes), the words after it are the library's.
        std::string message = e.what();
        const size_t id_end = message.find("] ");
        if (id_end != std::string::npos) message.erase(0, id_end + 2);
        if (message.compare(0, 11, "parse error") == 0) {
            const size_t colon = message.find(": ");
            if (colon != std::string::npos) message.erase(0, colon + 2);
        }
        // A token in the wrong place, or a number too large, is shown where
        // it starts; a token that cannot be read at all, where reading
        // stopped (the library's position counts the bytes it has read).
        const bool whole_token = message.find(" - unexpected ") != std::string::npos ||
                                 dynamic_cast<const nlohmann::detail::out_of_range*>(&e) != nullptr;
        return fail(whole_token || position == 0 ? start() : position - 1, message);
    }

    // After a successful parse: the places of all values, which no longer
    // move once the whole value is built.
    void set_places(Places* places) {
        LineCounter lines(text_);
        size_t next = 0;
        set_places(*root_, lines, next, places);
    }

    size_t error_offset() const { return error_offset_; }
    const std::string& error_message() const { return error_message_; }

private:
    struct Open {
        Value* value;
        std::set<std::string> keys;  // objects: the member names so far
    };

    bool blank(size_t at) const {
        return at < text_.size() && (text_[at] == ' ' || text_[at] == '\t' || text_[at] == '\n' || text_[at] == '\r');
    }

    // The offset where the token just read starts: past the blanks and the
    // one separator that may stand after the previous token. The next token
    // starts after this one.
    size_t start() {
        size_t at = end_of_last_;
        while (blank(at)) ++at;
        if (separator_ && at < text_.size() && text_[at] == separator_) {
            ++at;
            while (blank(at)) ++at;
        }
        end_of_last_ = *read_;
        separator_ = open_.empty() ? 0 : ',';
        return at;
    }

    bool digit(size_t at) const { return at < text_.size() && text_[at] >= '0' && text_[at] <= '9'; }
    bool one_of(size_t at, const char* chars) const { return at < text_.size() && std::strchr(chars, text_[at]); }

    // Numbers: the library has read one byte past the number to see its
    // end, so the number, which it has found sound, is measured here.
    size_t number_start() {
        const size_t at = start();
        size_t end = at + one_of(at, "-");
        if (one_of(end, "0")) ++end;
        else while (digit(end)) ++end;
        if (one_of(end, ".")) do ++end; while (digit(end));
        if (one_of(end, "eE")) {
            end += 1 + one_of(end + 1, "+-");
            while (digit(end)) ++end;
        }
        end_of_last_ = end;
        return at;
    }

    bool fail(size_t offset, const std::string& message) {
        error_offset_ = offset;
        error_message_ = message;
        return false;
    }

    Value* add(Value v, size_t at) {
        starts_.push_back(at);
        if (open_.empty()) {
            *root_ = std::move(v);
            return root_;
        }
        Value& parent = *open_.back().value;
        if (parent.is_array()) {
            parent.push_back(std::move(v));
            return &parent.back();
        }
        // The key is known to be new: append without the map's own search.
        return &parent.get_ref<Value::object_t&>().emplace_back(key_, std::move(v)).second;
    }

    bool put(Value v, size_t at) {
        add(std::move(v), at);
        return true;
    }

    bool open(Value container) {
        const size_t at = start();
        if (open_.size() >= size_t(kMaxDepth)) return fail(at, "values are nested too deeply");
        open_.push_back(Open{add(std::move(container), at), {}});
        separator_ = 0;
        return true;
    }

    bool close() {
        open_.pop_back();
        end_of_last_ = *read_;
        separator_ = open_.empty() ? 0 : ',';
        return true;
    }

    bool single_bytes(const std::string& utf8, size_t at, std::string* out) {
        unsigned long cp = 0;
        long bad = to_bytes(utf8, out, &cp);
        if (bad < 0) return true;
        // Find that character in the text: each one before it is one byte,
        // a two-byte UTF-8 sequence or an escape.
        size_t p = at + 1;
        for (long k = 0; k < bad && p < text_.size(); ++k) {
            if (text_[p] == '\\') p += p + 1 < text_.size() && text_[p + 1] == 'u' ? 6 : 2;
            else p += static_cast<unsigned char>(text_[p]) < 0x80 ? 1 : 2;
        }
        char message[160];
        std::snprintf(message, sizeof message,
                      "character U+%04lX is not a single byte: texts are single-byte (Windows ANSI) and take "
                      "only U+0000 to U+00FF; write other bytes as \\u00XX",
                      cp);
        return fail(p, message);
    }

    void set_places(const Value& v, LineCounter& lines, size_t& next, Places* places) {
        if (next < starts_.size()) places->set(v, lines.at(starts_[next]));
        ++next;
        if (v.is_structured())
            for (const Value& item : v) set_places(item, lines, next, places);
    }

    const std::string& text_;
    const size_t* read_;
    Value* root_;
    std::vector<Open> open_;
    std::string key_;
    std::vector<size_t> starts_;  // of every value, in text order
    size_t end_of_last_ = 0;
    char separator_ = 0;  // the one that may come before the next token
    size_t error_offset_ = 0;
    std::string error_message_;
};

}  // namespace

bool parse(const std::string& text, Parsed* out, ParseError* error) {
    size_t read = 0;
    const CountingIterator first{text.data(), text.data(), &read};
    const CountingIterator last{text.data() + text.size(), text.data(), &read};
    out->root = Value();
    out->places = Places();
    Builder builder(text, &read, &out->root);
    if (!Value::sax_parse(first, last, &builder)) {
        if (error) *error = ParseError{LineCounter(text).at(builder.error_offset()), builder.error_message()};
        return false;
    }
    builder.set_places(&out->places);
    return true;
}

}  // namespace json
}  // namespace vell
