// Writing JSON text: the library's escapes and numbers in velldump's layout.
#include <cctype>
#include <iterator>
#include <string>

#include "json_text.h"

namespace vell {
namespace json {

std::string quote(const std::string& bytes) {
    std::string utf8;
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            utf8.push_back(ch);
        } else {
            utf8.push_back(char(0xC0 | (c >> 6)));
            utf8.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    std::string quoted = Value(std::move(utf8)).dump(-1, ' ', true);
    // The library writes \u00e9; velldump has always written \u00E9, and
    // keeping that keeps dumps comparable with older ones.
    for (size_t i = 0; i + 1 < quoted.size(); ++i) {
        if (quoted[i] != '\\') continue;
        if (quoted[i + 1] == 'u')
            for (size_t k = i + 2; k < i + 6 && k < quoted.size(); ++k)
                quoted[k] = char(std::toupper(static_cast<unsigned char>(quoted[k])));
        ++i;  // past the escaped character, so "\\u" stays as it is
    }
    return quoted;
}

namespace {

constexpr size_t kLineWidth = 120;

std::string scalar(const Value& v) { return v.is_string() ? quote(v.get_ref<const std::string&>()) : v.dump(); }

// The one-line form of a container of scalars, or empty when it has a
// container inside.
std::string one_line(const Value& v) {
    const bool object = v.is_object();
    std::string out = object ? "{" : "[";
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (it->is_structured()) return std::string();
        if (it != v.begin()) out += ", ";
        if (object) out += quote(it.key()) + ": ";
        out += scalar(*it);
    }
    return out + (object ? "}" : "]");
}

void write_value(const Value& v, size_t indent, size_t used, std::string& out) {
    if (!v.is_structured()) {
        out += scalar(v);
        return;
    }
    const bool object = v.is_object();
    if (v.empty()) {
        out += object ? "{}" : "[]";
        return;
    }
    const std::string flat = one_line(v);
    if (!flat.empty() && used + flat.size() <= kLineWidth) {
        out += flat;
        return;
    }
    out += object ? "{\n" : "[\n";
    const std::string pad(indent + 2, ' ');
    for (auto it = v.begin(); it != v.end(); ++it) {
        out += pad;
        const size_t line_start = out.size() - pad.size();
        if (object) out += quote(it.key()) + ": ";
        write_value(*it, indent + 2, out.size() - line_start + 1, out);
        out += std::next(it) != v.end() ? ",\n" : "\n";
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
