// What the message box shows: the text trimmed and cut at 299 characters,
// the document title or the program's name as caption, and the owner.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/document.h"
#include "document/format.h"
#include "ui_text/message_box.h"

namespace vell {
namespace {

void set_title_bytes(Document& doc, const std::string& bytes) {
    std::memset(doc.header + hdr::kTitle, 0, kTitleSize);
    std::memcpy(doc.header + hdr::kTitle, bytes.data(), std::min<size_t>(bytes.size(), kTitleSize));
}

TEST(MessageBoxText, TrimmedAndCut) {
    EXPECT_EQ(message_box_text("  Unable to open file: a.vel  "), "Unable to open file: a.vel");
    EXPECT_EQ(message_box_text("Invalid File: x\rThis file isn't a vell document."),
              "Invalid File: x\rThis file isn't a vell document.");
    std::string long_text = "  " + std::string(298, 'a') + "bc";
    EXPECT_EQ(message_box_text(long_text), std::string(298, 'a') + "b");
    EXPECT_EQ(message_box_text(std::string(299, 'z')).size(), 299u);
    // Trimming happens before the cut: leading blanks do not use up room.
    EXPECT_EQ(message_box_text(std::string(50, ' ') + std::string(299, 'q')), std::string(299, 'q'));
    // The text ends at a zero byte, as in the buffer handed to Windows.
    EXPECT_EQ(message_box_text(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(message_box_text("   "), "");
}

TEST(MessageBoxCaption, DocumentTitleOrProgramName) {
    Document doc;
    EXPECT_EQ(message_box_caption(doc), "vell Print and Preview");

    set_title_bytes(doc, "  Quarterly Report  ");
    EXPECT_EQ(message_box_caption(doc), "Quarterly Report");

    set_title_bytes(doc, "      ");
    EXPECT_EQ(message_box_caption(doc), "vell Print and Preview");

    // The title ends at its first zero byte; one that starts with it is empty.
    set_title_bytes(doc, std::string("Sales\0Hidden", 12));
    EXPECT_EQ(message_box_caption(doc), "Sales");
    set_title_bytes(doc, std::string("\0Hidden", 7));
    EXPECT_EQ(message_box_caption(doc), "vell Print and Preview");

    // A title filling all 100 bytes is used whole.
    std::string full(kTitleSize, 'T');
    set_title_bytes(doc, full);
    EXPECT_EQ(message_box_caption(doc), full);
}

}  // namespace
}  // namespace vell
