// Checked reading of single description values, and the matching writers
// that velldump uses, so that every name and notation is defined once.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "document_json.h"
#include "document/format.h"

namespace vell {

std::string format_error(const std::string& file, const DescriptionError& e) {
    std::string out = file;
    if (e.where.line > 0) out += ":" + std::to_string(e.where.line) + ":" + std::to_string(e.where.column);
    out += ": ";
    if (!e.path.empty()) out += e.path + ": ";
    return out + e.message;
}

// ---- Field -------------------------------------------------------------------

namespace {

std::string member_path(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

const std::string& text_of(const json::Value& v) { return v.get_ref<const std::string&>(); }

std::string found(const json::Value& v) {
    if (v.is_string()) return json::quote(text_of(v));
    if (v.is_number()) return v.dump();
    return json::type_name(v);
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

void Field::fail(const std::string& message) const { throw DescriptionError{position(), path_, message}; }

void Field::expect_object() const {
    if (!value_->is_object()) fail("expected an object, found " + found(*value_));
}

void Field::keys(const std::vector<const char*>& allowed) const {
    expect_object();
    for (auto it = value_->begin(); it != value_->end(); ++it) {
        const std::string& key = it.key();
        bool known = false;
        for (const char* a : allowed) known = known || key == a;
        if (known) continue;
        std::string list;
        for (const char* a : allowed) list += std::string(list.empty() ? "" : ", ") + a;
        Field(*it, member_path(path_, key), places_).fail("unknown member " + json::quote(key) +
                                                          "; the members here are: " + list);
    }
}

bool Field::has(const char* key) const {
    return value_->is_object() && value_->contains(key);
}

Field Field::operator[](const char* key) const {
    expect_object();
    auto it = value_->find(key);
    if (it == value_->end()) fail(std::string("missing member \"") + key + "\"");
    return Field(*it, member_path(path_, key), places_);
}

size_t Field::count() const {
    if (!value_->is_array()) fail("expected an array, found " + found(*value_));
    return value_->size();
}

Field Field::item(size_t i) const {
    return Field((*value_)[i], path_ + "[" + std::to_string(i) + "]", places_);
}

std::string Field::text(size_t max_bytes) const {
    if (!value_->is_string()) fail("expected a string, found " + found(*value_));
    const std::string& s = text_of(*value_);
    if (s.size() > max_bytes)
        fail("the text is " + std::to_string(s.size()) + " bytes long; at most " +
             std::to_string(max_bytes) + " fit here");
    return s;
}

float Field::real() const {
    if (value_->is_string()) {
        const std::string& s = text_of(*value_);
        if (s == "NaN") return NAN;
        if (s == "Infinity") return INFINITY;
        if (s == "-Infinity") return -INFINITY;
    }
    if (!value_->is_number()) fail("expected a number, found " + found(*value_));
    // Numbers from halfway between the largest float and 2^128 upwards
    // would round to infinity.
    static const double kLimit = std::ldexp(2.0 - std::ldexp(1.0, -24), 127);
    double d = value_->get<double>();
    if (std::fabs(d) >= kLimit) fail(found(*value_) + " is too large for a single-precision number");
    return float(d);
}

long long Field::integer(long long lo, long long hi) const {
    if (!value_->is_number()) fail("expected a whole number, found " + found(*value_));
    auto out_of_range = [&]() {
        fail(found(*value_) + " is out of range (" + std::to_string(lo) + " to " + std::to_string(hi) + ")");
    };
    // Whole numbers are compared exactly; a number with a fraction or an
    // exponent ("12.0", "1e2") counts when its value is whole.
    if (value_->is_number_unsigned()) {
        const unsigned long long u = value_->get<unsigned long long>();
        if (hi < 0 || u > static_cast<unsigned long long>(hi)) out_of_range();
        return static_cast<long long>(u);
    }
    if (value_->is_number_integer()) {
        const long long i = value_->get<long long>();
        if (i < lo || i > hi) out_of_range();
        return i;
    }
    double d = value_->get<double>();
    if (d != std::floor(d)) fail(found(*value_) + " is not a whole number");
    if (d < double(lo) || d > double(hi)) out_of_range();
    return static_cast<long long>(d);
}

int32_t Field::flag() const {
    if (value_->is_boolean()) return value_->get<bool>() ? 1 : 0;
    if (!value_->is_number()) fail("expected true, false or a number, found " + found(*value_));
    return i32();
}

uint32_t Field::colour() const {
    if (value_->is_string()) {
        const std::string& s = text_of(*value_);
        bool ok = s.size() == 7 && s[0] == '#';
        for (size_t i = 1; ok && i < 7; ++i) ok = hex_digit(s[i]) >= 0;
        if (!ok) fail("a colour is \"#RRGGBB\" or a COLORREF number (0x00BBGGRR), found " + found(*value_));
        auto byte = [&](size_t at) { return uint32_t(hex_digit(s[at]) * 16 + hex_digit(s[at + 1])); };
        // The text names red first; a COLORREF keeps red in its lowest byte.
        return byte(1) | (byte(3) << 8) | (byte(5) << 16);
    }
    if (!value_->is_number())
        fail("a colour is \"#RRGGBB\" or a COLORREF number (0x00BBGGRR), found " + found(*value_));
    return uint32_t(integer(0, UINT32_MAX));
}

int32_t Field::named(std::initializer_list<std::pair<const char*, int32_t>> names, long long lo,
                     long long hi) const {
    if (value_->is_string()) {
        for (const auto& n : names)
            if (text_of(*value_) == n.first) return n.second;
        std::string list;
        for (const auto& n : names) list += std::string(list.empty() ? "" : ", ") + json::quote(n.first);
        fail("unknown name " + found(*value_) + "; use a number or one of " + list);
    }
    if (!value_->is_number())
        fail("expected a number or a name, found " + found(*value_));
    return int32_t(integer(lo, hi));
}

Bytes Field::hex() const {
    std::string s = text(SIZE_MAX);
    if (s.size() % 2) fail("hexadecimal data needs two digits per byte");
    Bytes out;
    out.reserve(s.size() / 2);
    for (size_t i = 0; i < s.size(); i += 2) {
        int hi = hex_digit(s[i]), lo = hex_digit(s[i + 1]);
        if (hi < 0 || lo < 0) fail("not a hexadecimal digit at character " + std::to_string(i + (hi < 0 ? 1 : 2)));
        out.push_back(uint8_t(hi * 16 + lo));
    }
    return out;
}

Bytes Field::base64() const {
    std::string s = text(SIZE_MAX);
    if (s.size() % 4) fail("base64 data comes in groups of four characters");
    Bytes out;
    out.reserve(s.size() / 4 * 3);
    for (size_t i = 0; i < s.size(); i += 4) {
        uint32_t group = 0;
        int padding = 0;
        for (size_t k = 0; k < 4; ++k) {
            char c = s[i + k];
            const char* at = c ? std::strchr(kBase64, c) : nullptr;
            bool pad_ok = c == '=' && i + 4 == s.size() && k >= 2 && (k == 3 || s[i + 3] == '=');
            if (pad_ok) {
                ++padding;
                group <<= 6;
            } else if (at && padding == 0) {
                group = (group << 6) | uint32_t(at - kBase64);
            } else {
                fail("not base64 data at character " + std::to_string(i + k + 1));
            }
        }
        out.push_back(uint8_t(group >> 16));
        if (padding < 2) out.push_back(uint8_t(group >> 8));
        if (padding < 1) out.push_back(uint8_t(group));
    }
    return out;
}

// ---- Writers -------------------------------------------------------------------

json::Value real_value(float f) {
    if (std::isnan(f)) return "NaN";
    if (std::isinf(f)) return f > 0 ? "Infinity" : "-Infinity";
    // The fewest significant digits that give back f once read as a double
    // and cast to float, the way the tools read numbers: 0.1, not the
    // double nearest to the float 0.1.
    double d = double(f);
    char buffer[40];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, double(f));
        if (float(std::strtod(buffer, nullptr)) == f) {
            d = std::strtod(buffer, nullptr);
            break;
        }
    }
    // Whole values are written as integers ("12", not "12.0"); a negative
    // zero stays a float ("-0.0"), as an integer it would lose its sign.
    if (d == std::floor(d) && std::fabs(d) < 1e15 && !(d == 0 && std::signbit(d))) return static_cast<long long>(d);
    return d;
}

json::Value flag_value(int32_t v) {
    if (v == 0 || v == 1) return v == 1;
    return v;
}

json::Value colour_value(uint32_t c) {
    if (c >> 24) return c;
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF),
                  unsigned((c >> 16) & 0xFF));
    return buffer;
}

json::Value alignment_value(int16_t a) {
    static const char* const kNames[] = {"left", "centre", "right", "decimal"};
    if (a >= 0 && a <= 3) return kNames[a];
    return a;
}

json::Value style_value(int16_t s) {
    static const char* const kNames[] = {"bold", "italic", "underline", "strikeout"};
    if (s & ~15) return s;
    json::Value names = json::Value::array();
    for (int bit = 0; bit < 4; ++bit)
        if (s & (1 << bit)) names.push_back(kNames[bit]);
    return names;
}

json::Value orientation_value(int16_t o) {
    if (o == 0) return "portrait";
    if (o == 1) return "landscape";
    return o;
}

json::Value zoom_value(int32_t z) {
    switch (z) {
    case 0: return "fitWidth";
    case kZoomFitWindow: return "fitWindow";
    case kZoom75: return "75%";
    case kZoom100: return "100%";
    case kZoom125: return "125%";
    default: return z;
    }
}

json::Value display_value(int32_t d) {
    if (d == 0) return "normal";
    if (d == kDisplayShrink) return "shrink";
    return d;
}

std::string to_hex(const uint8_t* data, size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 15]);
    }
    return out;
}

std::string to_base64(const uint8_t* data, size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3) {
        uint32_t group = uint32_t(data[i]) << 16;
        if (i + 1 < size) group |= uint32_t(data[i + 1]) << 8;
        if (i + 2 < size) group |= data[i + 2];
        out.push_back(kBase64[group >> 18]);
        out.push_back(kBase64[(group >> 12) & 63]);
        out.push_back(i + 1 < size ? kBase64[(group >> 6) & 63] : '=');
        out.push_back(i + 2 < size ? kBase64[group & 63] : '=');
    }
    return out;
}

const char* record_kind_name(int16_t opcode) {
    switch (opcode) {
    case kOpEndOfPage:
    case kOpEndOfPage2: return "end";
    case kOpAlignedText: return "text";
    case kOpRotatedText: return "rotatedText";
    case kOpPageNumber: return "pageNumber";
    case kOpLine: return "line";
    case kOpBox: return "box";
    case kOpFont: return "font";
    case kOpPictureFile: return "pictureFile";
    case kOpPageTotal: return "pageTotal";
    case kOpWindowLabel: return "windowLabel";
    case kOpEmbeddedPicture: return "embeddedPicture";
    case kOpReserved: return "reserved";
    case kOpSettings14:
    case kOpSettings15: return "settings";
    case kOpBoxedText: return "boxedText";
    case kOpWrappedText: return "wrappedText";
    default: return "";
    }
}

}  // namespace vell
