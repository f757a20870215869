// Checking a typed password against a protected document, and the rule of
// three tries that the password dialog follows. Portable: the dialog
// (password_win.cpp) only reads the edit and shows what this decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vell {

struct Document;

// How many characters the password edit takes and is read with: a password
// may have 20 characters, so the whole of a 20-character one must arrive.
constexpr size_t kPasswordEntryLimit = 20;

// The key for a typed text: its first length characters, blanks filling up
// a shorter entry (the typed text followed by 20 blanks, cut to length).
std::string password_key(const std::string& typed, size_t length);

// True when typed is the password: typed exactly as entered (not trimmed)
// equals the first length bytes of the stored field deciphered with
// password_key(typed, length). length is the header's password length, at
// most the field's size (a larger one reads no further than the field);
// 0 or less means no password, and everything is refused.
bool password_matches(const std::string& typed, const uint8_t* field, size_t field_size,
                      int32_t length);
// The same against the document's header (offsets 156 and 158).
bool password_matches(const Document& doc, const std::string& typed);

// One opening of the password dialog: wrong tries so far, and the verdict.
struct PasswordPrompt {
    int32_t attempts = 0;
    bool accepted = false;
};

// What the dialog does after Ok: close it (accepted, or refused for the
// third time) and which label to show first (22 after a first or second
// wrong try, 23 after the third; 0 for none).
struct PasswordStep {
    bool close = false;
    int message_label = 0;
};
PasswordStep submit_password(PasswordPrompt& prompt, const Document& doc,
                             const std::string& typed);

}  // namespace vell
