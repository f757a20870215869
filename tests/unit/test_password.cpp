// The password check and the three tries of the password dialog, on
// headers holding passwords enciphered the way a writer stores them.
#include <gtest/gtest.h>

#include <string>

#include "document/cipher.h"
#include "document/document.h"
#include "document/format.h"
#include "document/password_check.h"

namespace vell {
namespace {

// A header protected by password: its length and cipher(P, P).
Document protected_by(const std::string& password) {
    Document doc;
    set_header_i16(doc, hdr::kPasswordLength, int16_t(password.size()));
    const std::string stored = cipher(password, password);
    for (size_t i = 0; i < stored.size(); ++i) doc.header[hdr::kPassword + i] = uint8_t(stored[i]);
    return doc;
}

TEST(PasswordCheck, OnlyTheExactPasswordIsAccepted) {
    const Document seven = protected_by("Secret7");  // one digit group per pass
    EXPECT_TRUE(password_matches(seven, "Secret7"));
    for (const char* wrong : {"secret7", "Secret", "Secret77", "Secret7 ", " Secret7", ""})
        EXPECT_FALSE(password_matches(seven, wrong)) << "[" << wrong << "]";
    const Document eight = protected_by("Secret78");  // a group of 7 and one of 1
    EXPECT_TRUE(password_matches(eight, "Secret78"));
    EXPECT_FALSE(password_matches(eight, "Secret7"));
    EXPECT_EQ(password_key("ab", 5), "ab   ");  // a short entry is padded with blanks
}

TEST(PasswordCheck, TwentyCharactersAndBlankEndsCanBeEntered) {
    const std::string twenty = "abcdefghijklmnopqrst";
    ASSERT_EQ(twenty.size(), kPasswordEntryLimit);
    EXPECT_TRUE(password_matches(protected_by(twenty), twenty));
    EXPECT_FALSE(password_matches(protected_by(twenty), twenty.substr(0, 19)));
    // The typed text is compared as typed, so a password that starts or
    // ends with a blank opens its document.
    EXPECT_TRUE(password_matches(protected_by("open "), "open "));
    EXPECT_FALSE(password_matches(protected_by("open "), "open"));
    EXPECT_TRUE(password_matches(protected_by(" open"), " open"));
}

TEST(PasswordCheck, LengthsOutsideTheFieldReadNoFurther) {
    EXPECT_FALSE(password_matches(Document(), ""));  // no password: nothing to accept
    // A header claiming 25 characters: only the 20 bytes of the field count.
    Document doc = protected_by("abcdefghijklmnopqrst");
    set_header_i16(doc, hdr::kPasswordLength, 25);
    doc.header[hdr::kPassword + kPasswordFieldSize] = 'u';
    EXPECT_TRUE(password_matches(doc, "abcdefghijklmnopqrst"));
    EXPECT_FALSE(password_matches(doc, "abcdefghijklmnopqrstu"));
    const std::string stored = cipher("abc", "abc");
    EXPECT_TRUE(password_matches("abc", reinterpret_cast<const uint8_t*>(stored.data()), 3, 10));
    EXPECT_FALSE(password_matches("abc", nullptr, 0, 3));
}

TEST(PasswordDialogSteps, WrongWrongRightIsAccepted) {
    const Document doc = protected_by("tiger");
    PasswordPrompt prompt;
    for (const char* wrong : {"lion", ""}) {
        const PasswordStep step = submit_password(prompt, doc, wrong);
        EXPECT_FALSE(step.close);
        EXPECT_EQ(step.message_label, 22);
    }
    const PasswordStep step = submit_password(prompt, doc, "tiger");
    EXPECT_TRUE(step.close);
    EXPECT_EQ(step.message_label, 0);
    EXPECT_TRUE(prompt.accepted);
}

TEST(PasswordDialogSteps, ThirdWrongTryClosesUnaccepted) {
    const Document doc = protected_by("tiger");
    PasswordPrompt prompt;
    submit_password(prompt, doc, "lion");
    submit_password(prompt, doc, "tiger ");
    const PasswordStep step = submit_password(prompt, doc, "Tiger");
    EXPECT_TRUE(step.close);
    EXPECT_EQ(step.message_label, 23);
    EXPECT_FALSE(prompt.accepted);
}

}  // namespace
}  // namespace vell
