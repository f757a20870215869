#include "document/text.h"

#include <cmath>
#include <cstring>

namespace vell {

std::string trim(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    size_t last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

std::string to_upper(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

std::string fixed_field_text(const uint8_t* field, size_t size) {
    size_t n = 0;
    while (n < size && field[n] != 0) ++n;
    return trim(std::string(reinterpret_cast<const char*>(field), n));
}

std::string cut_text(const std::string& s, size_t max_length) {
    size_t n = s.find('\0');
    if (n == std::string::npos) n = s.size();
    if (n > max_length) n = max_length;
    return s.substr(0, n);
}

void copy_to_buffer(char* buffer, size_t buffer_size, const std::string& s) {
    if (buffer_size == 0) return;
    std::string cut = cut_text(s, buffer_size - 1);
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
}

std::string message_number(long long value) {
    std::string digits = std::to_string(value);
    return value >= 0 ? " " + digits : digits;
}

long long leading_number(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    // Accumulate in double: enough for every value the system cares about,
    // and it saturates instead of overflowing on absurd inputs.
    double value = 0;
    bool any_digit = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        any_digit = true;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        double scale = 0.1;
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            value += (s[i] - '0') * scale;
            scale /= 10;
            any_digit = true;
        }
    }
    if (!any_digit) return 0;
    double floored = std::floor(negative ? -value : value);
    if (floored >= 9.2e18) return 9200000000000000000LL;
    if (floored <= -9.2e18) return -9200000000000000000LL;
    return static_cast<long long>(floored);
}

}  // namespace vell
