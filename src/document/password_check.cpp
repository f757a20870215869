#include "document/password_check.h"

#include "document/bytes.h"
#include "document/cipher.h"
#include "document/document.h"
#include "document/format.h"

namespace vell {

namespace {

// Wrong tries that still leave the dialog open: the third one closes it.
constexpr int32_t kRetriesAllowed = 2;
constexpr int kWrongLabel = 22;
constexpr int kLastWrongLabel = 23;

}  // namespace

std::string password_key(const std::string& typed, size_t length) {
    return (typed + std::string(kPasswordEntryLimit, ' ')).substr(0, length);
}

bool password_matches(const std::string& typed, const uint8_t* field, size_t field_size,
                      int32_t length) {
    if (length <= 0 || field == nullptr) return false;
    // The stored password is the first length bytes of the field; a header
    // that claims more than the field holds is read no further than it.
    const size_t used = size_t(length) < field_size ? size_t(length) : field_size;
    std::string stored;
    for (size_t i = 0; i < used; ++i) stored += char(byte_at(field, field_size, i));
    // The typed text is compared as typed. Trimming it first would accept an
    // extra trailing blank and would make a password that begins or ends
    // with a blank impossible to enter, since the deciphered text keeps it.
    return typed == cipher(stored, password_key(typed, used));
}

bool password_matches(const Document& doc, const std::string& typed) {
    static_assert(hdr::kPassword + kPasswordFieldSize <= kHeaderSize, "field inside the header");
    return password_matches(typed, doc.header + hdr::kPassword, kPasswordFieldSize,
                            header_i16(doc, hdr::kPasswordLength));
}

PasswordStep submit_password(PasswordPrompt& prompt, const Document& doc,
                             const std::string& typed) {
    PasswordStep step;
    if (password_matches(doc, typed)) {
        prompt.accepted = true;
        step.close = true;
        return step;
    }
    step.close = prompt.attempts >= kRetriesAllowed;
    step.message_label = step.close ? kLastWrongLabel : kWrongLabel;
    ++prompt.attempts;
    return step;
}

}  // namespace vell
