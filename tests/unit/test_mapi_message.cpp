// The message handed to Simple MAPI: lists split at ";", recipients paired
// by position, attachments kept only when their files exist and pointing at
// their blanks in the note, field cuts, and the date text.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "send/mail_message.h"

namespace vell {
namespace {

using Strings = std::vector<std::string>;

// Attachment files that "exist" for compose_mail.
struct ExistingFiles {
    std::set<std::string> names;
    bool operator()(const std::string& path) const { return names.count(path) != 0; }
};

const LocalTime kNoon = {1999, 3, 7, 14, 5, 9};

MailMessage compose(const std::string& note, const std::vector<AttachmentEntry>& files,
                    const std::set<std::string>& existing) {
    return compose_mail("Subject", note, {}, files, kNoon, ExistingFiles{existing});
}

TEST(MailLists, EntriesAreTheTextsBetweenSeparatorsAsTheyStand) {
    EXPECT_EQ(split_list("a;b"), (Strings{"a", "b"}));
    EXPECT_EQ(split_list(""), (Strings{""}));
    EXPECT_EQ(split_list(";;"), (Strings{"", "", ""}));
    EXPECT_EQ(split_list(" Ann ; Bob;"), (Strings{" Ann ", " Bob", ""}));
    EXPECT_EQ(list_entry(split_list("a;b"), 1), "b");
    EXPECT_EQ(list_entry(split_list("a;b"), 2), "");
}

TEST(MailRecipients, NamesAndAddressesPairByPosition) {
    std::vector<MailRecipient> r = mail_recipients("ann@x.org;bob@y.org", "Ann;Bob");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].name, "Ann");
    EXPECT_EQ(r[0].address, "ann@x.org");
    EXPECT_EQ(r[1].name, "Bob");
    EXPECT_EQ(r[1].address, "bob@y.org");

    // More names than addresses: the later ones have an empty address.
    r = mail_recipients("ann@x.org", "Ann;Bob;Cy");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[2].name, "Cy");
    EXPECT_EQ(r[2].address, "");
    // More addresses than names: the count follows the names.
    EXPECT_EQ(mail_recipients("a;b;c", "Ann").size(), 1u);
}

TEST(MailRecipients, BlankNameListMeansNoRecipientsWhateverTheAddresses) {
    EXPECT_TRUE(mail_recipients("ann@x.org;bob@y.org", "   ").empty());
    EXPECT_TRUE(mail_recipients("ann@x.org", "").empty());
    // Not blank: the untrimmed list counts, blanks and empty entries too.
    EXPECT_EQ(mail_recipients("", " Ann ;").size(), 2u);
    EXPECT_EQ(mail_recipients("", " Ann ;")[0].name, " Ann ");
}

TEST(MailRecipients, NamesAndAddressesAreCutTo299) {
    const std::string long_name(400, 'n'), long_address(350, 'a');
    std::vector<MailRecipient> r = mail_recipients(long_address, long_name);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].name, std::string(299, 'n'));
    EXPECT_EQ(r[0].address, std::string(299, 'a'));
}

TEST(MailAttachments, ListsPairPathsWithDisplayNames) {
    std::vector<AttachmentEntry> a = attachment_entries("c:\\a.vel;c:\\b.exe", "A.vel");
    ASSERT_EQ(a.size(), 2u);
    EXPECT_EQ(a[0].path, "c:\\a.vel");
    EXPECT_EQ(a[0].name, "A.vel");
    EXPECT_EQ(a[1].path, "c:\\b.exe");
    EXPECT_EQ(a[1].name, "");
    EXPECT_TRUE(attachment_entries("  ", "name").empty());
}

TEST(MailNote, OneAttachmentEndsTheNoteWithLineBreakAndItsBlank) {
    MailMessage m = compose("  Here it is.  ", {{"doc.vel", "Report.vel"}}, {"doc.vel"});
    EXPECT_EQ(m.note, "Here it is.\r\n ");
    ASSERT_EQ(m.attachments.size(), 1u);
    EXPECT_EQ(m.attachments[0].position, m.note.size() - 1);
    EXPECT_EQ(m.note[m.attachments[0].position], ' ');
    EXPECT_EQ(m.attachments[0].path, "doc.vel");
    EXPECT_EQ(m.attachments[0].name, "Report.vel");

    // Without attachments the note still ends in its line break.
    EXPECT_EQ(compose("Hello", {}, {}).note, "Hello\r\n");
}

TEST(MailNote, MissingFilesAreDroppedAndKeptOnesPointAtTheirOwnBlank) {
    MailMessage m = compose("Note", {{"one", "1"}, {"gone", "2"}, {"three", "3"}}, {"one", "three"});
    EXPECT_EQ(m.note, "Note\r\n   ");
    ASSERT_EQ(m.attachments.size(), 2u);
    const uint32_t last = uint32_t(m.note.size() - 1);
    EXPECT_EQ(m.attachments[0].name, "1");
    EXPECT_EQ(m.attachments[0].position, last - 2);
    EXPECT_EQ(m.attachments[1].name, "3");
    EXPECT_EQ(m.attachments[1].position, last);

    // None exists: the message goes without attachments, blanks and all.
    m = compose("Note", {{"gone", "x"}}, {});
    EXPECT_TRUE(m.attachments.empty());
    EXPECT_EQ(m.note, "Note\r\n ");
}

TEST(MailNote, LongNoteIsCutWithItsBlanksAndPositionsFollowTheCut) {
    MailMessage m = compose(std::string(40000, 'x'), {{"a", "A"}, {"b", "B"}}, {"a", "b"});
    ASSERT_EQ(m.note.size(), kNoteLimit);
    EXPECT_EQ(m.note.back(), 'x');  // line break and blanks were cut away
    ASSERT_EQ(m.attachments.size(), 2u);
    EXPECT_EQ(m.attachments[0].position, kNoteLimit - 2);
    EXPECT_EQ(m.attachments[1].position, kNoteLimit - 1);
}

TEST(MailNote, PositionsBeforeTheNoteStartAreGivenAsNoPosition) {
    // More attachment entries than the cut note has characters: the first
    // ones would point before the text.
    std::vector<AttachmentEntry> files(kNoteLimit + 2, AttachmentEntry{"f", "F"});
    MailMessage m = compose("", files, {"f"});
    ASSERT_EQ(m.attachments.size(), files.size());
    EXPECT_EQ(m.attachments[0].position, kNoAttachmentPosition);
    EXPECT_EQ(m.attachments[1].position, kNoAttachmentPosition);
    EXPECT_EQ(m.attachments[2].position, 0u);
    EXPECT_EQ(m.attachments.back().position, kNoteLimit - 1);
}

TEST(MailFields, SubjectPathsAndNamesAreTrimmedOrCutToTheirLimits) {
    const std::string path(320, 'p'), name(120, 'n');
    MailMessage m = compose_mail("  " + std::string(1200, 's') + " ", "n", {}, {{path, name}}, kNoon,
                                 [](const std::string&) { return true; });
    EXPECT_EQ(m.subject, std::string(999, 's'));
    ASSERT_EQ(m.attachments.size(), 1u);
    EXPECT_EQ(m.attachments[0].path, std::string(299, 'p'));
    EXPECT_EQ(m.attachments[0].name, std::string(99, 'n'));
    EXPECT_EQ(compose_mail(" Hi ", "", {}, {}, kNoon, ExistingFiles{}).subject, "Hi");
    EXPECT_EQ(logon_text("  MS Exchange Settings  "), "MS Exchange Settings");
    EXPECT_EQ(logon_text(std::string(250, 'p')), std::string(199, 'p'));
}

TEST(MailFields, RecipientsReachTheMessageUnchanged) {
    MailMessage m = compose_mail("s", "n", mail_recipients("a@x;b@y", "A;B"), {}, kNoon,
                                 ExistingFiles{});
    ASSERT_EQ(m.recipients.size(), 2u);
    EXPECT_EQ(m.recipients[1].name, "B");
    EXPECT_EQ(m.recipients[1].address, "b@y");
}

TEST(MailDate, MonthDayYearAndTwentyFourHourTime) {
    EXPECT_EQ(mail_date_text(kNoon), "03-07-1999 14:05:09");
    EXPECT_EQ(mail_date_text({2024, 12, 31, 23, 59, 58}), "12-31-2024 23:59:58");
    EXPECT_EQ(mail_date_text({2001, 1, 2, 0, 0, 0}), "01-02-2001 00:00:00");
    EXPECT_EQ(compose("n", {}, {}).date, "03-07-1999 14:05:09");
    // A clock out of its ranges still gives 19 characters.
    EXPECT_EQ(mail_date_text({123456, 1234, 99, 100, 61, 60}).size(), 19u);
}

}  // namespace
}  // namespace vell
