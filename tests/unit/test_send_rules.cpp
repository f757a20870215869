// The decisions of the e-mail and fax commands and the texts of their
// failure messages.
#include <gtest/gtest.h>

#include "document/document.h"
#include "send/send_rules.h"

namespace vell {
namespace {

EmailSettings email(int32_t show_dialog, const std::string& names, const std::string& addresses) {
    EmailSettings e;
    e.present = true;
    e.show_dialog = show_dialog;
    e.names = names;
    e.addresses = addresses;
    return e;
}

TEST(EmailRules, DialogWhenThereIsNoOneToSendToElseAsTheSettingsSay) {
    EXPECT_TRUE(email_shows_dialog(EmailSettings()));  // no e-mail settings
    EXPECT_TRUE(email_shows_dialog(email(0, "  ", "ann@x.org")));
    EXPECT_TRUE(email_shows_dialog(email(0, "Ann", " ")));
    EXPECT_FALSE(email_shows_dialog(email(0, "Ann", "ann@x.org")));
    EXPECT_TRUE(email_shows_dialog(email(5, "Ann", "ann@x.org")));
}

TEST(EmailRules, DocumentFileGoesOnlyWhenTheSettingsAskForIt) {
    EXPECT_FALSE(email_sends_document_file(EmailSettings()));
    EmailSettings e = email(0, "Ann", "a");
    e.attach_as_viewer = 0;
    EXPECT_TRUE(email_sends_document_file(e));
    e.attach_as_viewer = -1;
    EXPECT_FALSE(email_sends_document_file(e));
}

TEST(FaxRules, DialogWithoutRecipientsElseAsTheSettingsSay) {
    FaxSettings fax;
    EXPECT_TRUE(fax_shows_dialog(fax));
    fax.present = true;
    fax.recipients = "   ";
    EXPECT_TRUE(fax_shows_dialog(fax));
    fax.recipients = "FAX:Ann@1";
    EXPECT_FALSE(fax_shows_dialog(fax));
    fax.show_dialog = 1;
    EXPECT_TRUE(fax_shows_dialog(fax));
}

TEST(SendRules, SentAndCancelledAreNoFailures) {
    EXPECT_FALSE(mapi_send_failed(0));
    EXPECT_FALSE(mapi_send_failed(1));
    EXPECT_TRUE(mapi_send_failed(2));
    EXPECT_TRUE(mapi_send_failed(0xFFFFFFFFu));
}

TEST(SendRules, NumbersInMessagesAreSignedWithABlankBeforeNonNegativeOnes) {
    EXPECT_EQ(attachment_build_failed_message(-3),
              "Can't creating self extracting viewer file as email attachment. Status =-3");
    EXPECT_EQ(attachment_build_failed_message(0),
              "Can't creating self extracting viewer file as email attachment. Status = 0");
    EXPECT_EQ(email_send_failed_message(2), "Unable to send document. Mapi failure error = 2");
    EXPECT_EQ(email_send_failed_message(0xFFFFFFFFu), "Unable to send document. Mapi failure error =-1");
    EXPECT_EQ(fax_send_failed_message(26), "Unable to fax document. Mapi failure error = 26");
}

}  // namespace
}  // namespace vell
