// The cipher on arbitrary keys and texts: deciphering what was enciphered
// with the same key gives the text back, and the length never changes.
#include <string>

#include "document/cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    size_t key_length = data[0] % 21;  // passwords have 1..20 characters
    if (key_length == 0 || size < 1 + key_length) return 0;
    std::string key(reinterpret_cast<const char*>(data) + 1, key_length);
    std::string text(reinterpret_cast<const char*>(data) + 1 + key_length, size - 1 - key_length);
    std::string enciphered = vell::cipher(text, key);
    if (enciphered.size() != text.size()) __builtin_trap();
    if (vell::cipher(enciphered, key) != text) __builtin_trap();
    return 0;
}
