// Fax recipients: the "FAX:" prefix rules, what the fax dialog lists, what
// Add puts in the list, and the text Send Fax writes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "send/fax_recipients.h"

namespace vell {
namespace {

using Strings = std::vector<std::string>;

TEST(FaxRecipients, NormalisingAddsThePrefixWhereItIsMissing) {
    EXPECT_EQ(normalise_fax_recipients("Ann@555-1234;FAX:Bob@555-9876"),
              "FAX:Ann@555-1234;FAX:Bob@555-9876");
    // The test ignores letter case, so "fax:" and "Fax:" keep their prefix.
    EXPECT_EQ(normalise_fax_recipients("fax:Ann@1;Fax:Bob@2"), "fax:Ann@1;Fax:Bob@2");
    EXPECT_EQ(normalise_fax_recipients(""), "FAX:");
    EXPECT_EQ(normalise_fax_recipients(";"), "FAX:;FAX:");
    EXPECT_EQ(normalise_fax_recipients("FA"), "FAX:FA");
    // Blanks are part of an entry: " FAX:x" does not start with the prefix.
    EXPECT_EQ(normalise_fax_recipients(" FAX:x"), "FAX: FAX:x");
}

TEST(FaxRecipients, DialogListsEntriesWithoutTheUpperCasePrefix) {
    EXPECT_EQ(fax_dialog_entries("FAX:Ann@1;FAX:Bob@2"), (Strings{"Ann@1", "Bob@2"}));
    // Only "FAX:" in upper case is removed; entries keep their blanks; blank
    // ones and bare prefixes are left out.
    EXPECT_EQ(fax_dialog_entries("fax:Ann@1;FAX: Bob@2 ;FAX:;  ;"), (Strings{"fax:Ann@1", " Bob@2 "}));
    EXPECT_TRUE(fax_dialog_entries("   ").empty());
    EXPECT_TRUE(fax_dialog_entries("FAX:").empty());
}

TEST(FaxRecipients, DialogEntriesAreCutBeforeThePrefixGoes) {
    const std::string entry = "FAX:" + std::string(250, 'n');
    const Strings shown = fax_dialog_entries(entry);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], std::string(199 - 4, 'n'));
}

TEST(FaxRecipients, AddNeedsBothNameAndNumber) {
    EXPECT_EQ(fax_list_entry("  Ann Smith ", " 555-1234 "), "Ann Smith@555-1234");
    EXPECT_EQ(fax_list_entry("   ", "555"), "");
    EXPECT_EQ(fax_list_entry("Ann", ""), "");
    EXPECT_EQ(fax_list_entry(std::string(198, 'n'), std::string(198, '5')).size(), 397u);
    EXPECT_EQ(fax_list_entry(std::string(300, 'n'), "5"), std::string(300, 'n') + "@5");
    EXPECT_EQ(fax_list_entry("n", std::string(500, '5')), "n@" + std::string(397, '5'));
}

TEST(FaxRecipients, SendFaxWritesEveryEntryWithAnUpperCasePrefixInListOrder) {
    EXPECT_EQ(fax_recipients_from_list({"Ann@1", "Bob@2", "Cy@3"}), "FAX:Ann@1;FAX:Bob@2;FAX:Cy@3");
    EXPECT_EQ(fax_recipients_from_list({"Solo@9"}), "FAX:Solo@9");
}

TEST(FaxRecipients, LowerCasePrefixSurvivesARoundTripAndGainsASecondOne) {
    const std::string normalised = normalise_fax_recipients("fax:Ann@1");
    const Strings shown = fax_dialog_entries(normalised);
    ASSERT_EQ(shown, (Strings{"fax:Ann@1"}));
    EXPECT_EQ(fax_recipients_from_list(shown), "FAX:fax:Ann@1");
}

}  // namespace
}  // namespace vell
