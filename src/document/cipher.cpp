// The password cipher. The keystream is built from a string of decimal
// digits ("digit groups") that the key's character codes produce, then cut
// into overlapping three-digit numbers, one per text byte.
#include "document/cipher.h"

#include <cstdint>

namespace vell {

namespace {

// The one-entry cache: the last keystream made and what it was made for.
// It lives for the process; the password dialog tries the same key on the
// same stored length again and again.
struct KeystreamCache {
    bool valid = false;
    std::string key;
    size_t length = 0;
    std::string digits;
    std::string stream;
    unsigned long made = 0;
};

KeystreamCache& cache() {
    static KeystreamCache instance;
    return instance;
}

// Byte m of a group string for pass i: (i + 256) mod (c + 1), where c is the
// key character's code taken as unsigned (0..255).
char group_byte(size_t pass, char key_char) {
    uint64_t c = static_cast<unsigned char>(key_char);
    return static_cast<char>((uint64_t(pass) + 256) % (c + 1));
}

}  // namespace

std::string digit_group(const std::string& s, size_t text_length) {
    // The product of (position + code) over a group of at most seven bytes
    // stays below 263^7 < 2^63, so 64 bits hold it exactly. Values of 10^15
    // and above (possible only with key codes of 128 and above) are written
    // with all their digits rather than rounded to fifteen significant ones:
    // exact digits keep enciphering and deciphering in agreement.
    uint64_t v = 1;
    for (size_t p = 1; p <= s.size(); ++p)
        v *= uint64_t(p) + static_cast<unsigned char>(s[p - 1]);
    v += uint64_t(text_length);
    std::string text = std::to_string(v);
    return text.size() > 3 ? text.substr(3) : text;
}

const std::string& keystream(const std::string& key, size_t text_length) {
    KeystreamCache& c = cache();
    if (c.valid && c.key == key && c.length == text_length) return c.stream;

    std::string digits;
    std::string stream(text_length, '\0');
    const size_t L = key.size();
    if (L > 0) {
        const size_t q = L / 7, r = L % 7;
        const size_t passes = text_length / L + 1;
        for (size_t i = 1; i <= passes; ++i) {
            for (size_t j = 1; j <= q; ++j) {
                std::string s(7, '\0');
                for (size_t m = 1; m <= 7; ++m) s[m - 1] = group_byte(i, key[(j - 1) * 7 + m - 1]);
                digits += digit_group(s, text_length);
            }
            if (r > 0) {
                std::string s(r, '\0');
                for (size_t m = 0; m < r; ++m) s[m] = group_byte(i, key[L - r + m]);
                digits += digit_group(s, text_length);
            }
            if (digits.size() > text_length) break;
        }

        // Cut: a window of up to three digits moves one place per byte and
        // wraps to the start before it would run off the last three digits.
        // Every group holds at least one digit, so digits is never empty.
        const long long last_start = static_cast<long long>(digits.size()) - 3;
        long long k = 0;
        for (size_t n = 1; n <= text_length; ++n) {
            ++k;
            if (k > last_start) k = 1;
            unsigned v = 0;
            for (size_t d = size_t(k - 1); d < digits.size() && d < size_t(k - 1) + 3; ++d)
                v = v * 10 + unsigned(digits[d] - '0');
            unsigned byte = (v + 256) % 256;
            if (byte == 0) byte = unsigned((uint64_t(k) + n) % 256);
            stream[n - 1] = static_cast<char>(byte);
        }
    }

    c.valid = true;
    c.key = key;
    c.length = text_length;
    c.digits = std::move(digits);
    c.stream = std::move(stream);
    ++c.made;
    return c.stream;
}

std::string cipher(const std::string& text, const std::string& key) {
    if (key.empty()) return text;
    const std::string& ks = keystream(key, text.size());
    std::string out = text;
    for (size_t n = 0; n < out.size(); ++n)
        out[n] = static_cast<char>(static_cast<unsigned char>(out[n]) ^
                                   static_cast<unsigned char>(ks[n]));
    return out;
}

unsigned long keystreams_made() { return cache().made; }

}  // namespace vell
