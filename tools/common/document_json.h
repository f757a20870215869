// Documents described in JSON: the format vellmake compiles and velldump
// writes (docs/document-json.md describes it for users).
//
// Both directions live here so that they share one vocabulary: the record
// kind names, the alignment, style, zoom and orientation names, and the way
// colours, floats and binary data are written. A value that velldump writes
// is always one that compile_document reads back to the same bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "document/bytes.h"
#include "json_text.h"
#include "vel_writer.h"

namespace vell {

// A description that cannot become a document: where, and what is wrong.
struct DescriptionError {
    json::Position where;
    std::string path;  // such as pages[2].records[5].size; empty for the top level
    std::string message;
};

// "file:line:column: path: message", the form both tools print.
std::string format_error(const std::string& file, const DescriptionError& e);

// A JSON value together with its path in the description, with the checked
// conversions the description's fields need. Every failure throws a
// DescriptionError naming the value's place: its line and column when the
// value was read from a text whose places are given, and its path.
class Field {
public:
    Field(const json::Value& value, std::string path, const json::Places* places = nullptr)
        : value_(&value), path_(std::move(path)), places_(places) {}

    const json::Value& value() const { return *value_; }
    const std::string& path() const { return path_; }
    json::Position position() const { return places_ ? places_->of(*value_) : json::Position{}; }
    [[noreturn]] void fail(const std::string& message) const;

    // Objects. keys() rejects every member not named in the list.
    void expect_object() const;
    void keys(const std::vector<const char*>& allowed) const;
    bool has(const char* key) const;
    Field operator[](const char* key) const;  // a member that must be there

    // Arrays.
    size_t count() const;  // the items of an array (fails for other values)
    Field item(size_t i) const;

    // Scalars.
    std::string text(size_t max_bytes) const;
    float real() const;  // a number, or "NaN", "Infinity", "-Infinity"
    long long integer(long long lo, long long hi) const;
    int16_t i16() const { return int16_t(integer(INT16_MIN, INT16_MAX)); }
    int32_t i32() const { return int32_t(integer(INT32_MIN, INT32_MAX)); }
    int32_t flag() const;  // true, false or a 32-bit number
    uint32_t colour() const;  // "#RRGGBB" or a COLORREF number 0x00BBGGRR
    // A number, or one of the names with their values.
    int32_t named(std::initializer_list<std::pair<const char*, int32_t>> names, long long lo,
                  long long hi) const;
    Bytes hex() const;
    Bytes base64() const;

private:
    const json::Value* value_;
    std::string path_;
    const json::Places* places_;
};

// ---- Shared vocabulary (dump side) ----------------------------------------

json::Value real_value(float f);  // non-finite values as "NaN", "Infinity", "-Infinity"
json::Value flag_value(int32_t v);  // true / false for 1 / 0, else the number
json::Value colour_value(uint32_t c);  // "#RRGGBB" when the top byte is 0
json::Value alignment_value(int16_t a);
json::Value style_value(int16_t s);
json::Value orientation_value(int16_t o);
json::Value zoom_value(int32_t z);
json::Value display_value(int32_t d);
std::string to_hex(const uint8_t* data, size_t size);
std::string to_base64(const uint8_t* data, size_t size);

// Name of a record kind for an opcode ("line"), or empty for unknown ones.
const char* record_kind_name(int16_t opcode);

// ---- Compiling -------------------------------------------------------------

// Turns a description into document bytes; places, when given, are those of
// the text it was read from. Relative bitmap paths are resolved against
// base_dir. Values the format holds but the viewer cannot
// use as meant (a password too long to type) are added to warnings, when
// given. Throws DescriptionError.
Bytes compile_document(const json::Value& root, const json::Places* places, const std::string& base_dir,
                       std::vector<DescriptionError>* warnings);

// Appends the record described by r to page. Throws DescriptionError.
void compile_record(const Field& r, const std::string& base_dir, PageBuilder& page);

}  // namespace vell
