// Start-up's decisions on the open document: which commands a copy may
// offer, when the file is deleted afterwards, and the open dialog's filter.
#include <gtest/gtest.h>

#include <string>

#include "document/document.h"
#include "document/format.h"
#include "startup/startup.h"

namespace vell {
namespace {

Document document_offering_everything() {
    Document doc;
    set_header_i16(doc, hdr::kSaveAllowed, 1);
    set_header_i16(doc, hdr::kFaxAllowed, 1);
    set_header_i16(doc, hdr::kEmailAllowed, 1);
    return doc;
}

bool offers_any(const Document& doc) {
    return header_i16(doc, hdr::kSaveAllowed) || header_i16(doc, hdr::kFaxAllowed) ||
           header_i16(doc, hdr::kEmailAllowed);
}

TEST(RestrictCopiedDocument, SelfExtractingViewersAndCopiesOfferNothing) {
    Document plain = document_offering_everything();
    restrict_copied_document(plain);
    EXPECT_EQ(header_i16(plain, hdr::kSaveAllowed), 1);
    EXPECT_EQ(header_i16(plain, hdr::kFaxAllowed), 1);
    EXPECT_EQ(header_i16(plain, hdr::kEmailAllowed), 1);

    Document inside = document_offering_everything();
    inside.base = 40000;
    restrict_copied_document(inside);
    EXPECT_FALSE(offers_any(inside));

    Document copy = document_offering_everything();
    set_header_i32(copy, hdr::kCopyFlag, -1);
    restrict_copied_document(copy);
    EXPECT_FALSE(offers_any(copy));

    // Nothing else in the header changes.
    Document other = document_offering_everything();
    set_header_i32(other, hdr::kCopyFlag, 1);
    set_header_i16(other, hdr::kDeleteWhenClosed, 7);
    restrict_copied_document(other);
    EXPECT_EQ(header_i16(other, hdr::kDeleteWhenClosed), 7);
    EXPECT_EQ(header_i32(other, hdr::kCopyFlag), 1);
}

TEST(DeleteWhenClosed, OnlyValidatedPlainDocumentsThatAskForIt) {
    Document doc;
    doc.validated = true;
    set_header_i16(doc, hdr::kDeleteWhenClosed, 1);
    EXPECT_TRUE(delete_when_closed(doc));

    set_header_i16(doc, hdr::kDeleteWhenClosed, -2);
    EXPECT_TRUE(delete_when_closed(doc));

    doc.base = 1024;  // inside a self-extracting viewer
    EXPECT_FALSE(delete_when_closed(doc));

    doc.base = 0;
    doc.validated = false;  // not a document, or refused
    EXPECT_FALSE(delete_when_closed(doc));

    doc.validated = true;
    set_header_i16(doc, hdr::kDeleteWhenClosed, 0);
    EXPECT_FALSE(delete_when_closed(doc));
}

TEST(DialogFilter, BarsBecomeZeroBytes) {
    EXPECT_EQ(dialog_filter("*.vel"), std::string("*.vel\0\0", 7));
    EXPECT_EQ(dialog_filter("Reports|*.vel|All|*.*|"),
              std::string("Reports\0*.vel\0All\0*.*\0\0\0", 24));
}

}  // namespace
}  // namespace vell
