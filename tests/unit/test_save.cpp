// Saving and the copy mark: the header marked and restored byte for byte,
// the target's kind by its extension, copies and self-extracting viewers
// written while the document is marked, and the names that are refused.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "document/container.h"
#include "document/document.h"
#include "document/file_io.h"
#include "document_test_util.h"
#include "send/copy_mark.h"
#include "send/save.h"
#include "vel_writer.h"

namespace vell {
namespace {

using testing_document::TempDir;

// A document that asks to be deleted and carries e-mail settings while its
// e-mail allowed field is 0: reading it sets that field in memory only.
Bytes source_document() {
    DocumentPlan s;
    s.title = "Monthly Sales";
    s.delete_when_closed = 1;
    s.save_allowed = 1;
    s.pages = {PageBuilder().aligned_text(1, 1, 0, "page one").end_of_page().bytes()};
    s.has_email = true;
    s.email.names = "Ann";
    s.email.addresses = "ann@example.org";
    return write_document(s);
}

Bytes program_bytes() {
    Bytes b(3000);
    for (size_t i = 0; i < b.size(); ++i) b[i] = uint8_t(i * 13 + 1);
    return b;
}

Bytes file_bytes(const std::string& path) {
    Bytes b;
    EXPECT_TRUE(read_file(path, &b));
    return b;
}

// The two flags a copy carries, read from raw bytes at a document's base.
int16_t delete_flag(const Bytes& b, size_t base = 0) { return get_i16(b, base + hdr::kDeleteWhenClosed); }
int32_t copy_flag(const Bytes& b, size_t base = 0) { return get_i32(b, base + hdr::kCopyFlag); }

// Every byte but the two flags of a copy, which must differ only there.
void expect_same_but_flags(Bytes copy, Bytes original) {
    ASSERT_EQ(copy.size(), original.size());
    for (Bytes* b : {&copy, &original}) {
        put_i16(b->data(), b->size(), hdr::kDeleteWhenClosed, 0);
        put_i32(b->data(), b->size(), hdr::kCopyFlag, 0);
    }
    EXPECT_TRUE(copy == original);
}

class Saving : public ::testing::Test {
protected:
    void SetUp() override {
        original_ = source_document();
        ASSERT_TRUE(write_file(doc_path_, original_));
        ASSERT_TRUE(write_file(program_path_, program_bytes()));
        ASSERT_TRUE(open_document(doc_, doc_path_, 0));
        ASSERT_EQ(read_header(doc_), HeaderCheck::kDocument);
        read_settings(doc_);
        ASSERT_EQ(header_i16(doc_, hdr::kEmailAllowed), 1);  // in memory only
    }
    void TearDown() override { close_document(doc_); }

    // Save as the command does it: marked, written, restored.
    std::string save(const std::string& name) {
        CopyMark mark(doc_);
        std::string message = save_to(doc_path_, name, program_path_, !mark.applied());
        mark.restore();
        return message;
    }

    TempDir dir_;
    const std::string doc_path_ = dir_.file("sales.vel");
    const std::string program_path_ = dir_.file("vell.exe");
    Bytes original_;
    Document doc_;
};

TEST_F(Saving, MarkSetsBothFlagsAndRestoresTheFileByteForByte) {
    {
        CopyMark mark(doc_);
        const Bytes marked = file_bytes(doc_path_);
        EXPECT_EQ(delete_flag(marked), 0);
        EXPECT_EQ(copy_flag(marked), 1);
        // The in-memory allowed field never reaches the file.
        EXPECT_EQ(get_i16(marked, hdr::kEmailAllowed), 0);
        expect_same_but_flags(marked, original_);
        mark.restore();
        EXPECT_TRUE(file_bytes(doc_path_) == original_);
        // A second restore writes nothing over later changes.
        ASSERT_TRUE(write_file(doc_path_, program_bytes()));
        mark.restore();
        EXPECT_TRUE(file_bytes(doc_path_) == program_bytes());
        ASSERT_TRUE(write_file(doc_path_, original_));
    }
    {
        CopyMark mark(doc_);  // restored when it goes out of scope
    }
    EXPECT_TRUE(file_bytes(doc_path_) == original_);
}

TEST_F(Saving, MarkLeavesAFileItCannotReadWholeOrWriteAlone) {
    // Opened for reading only: nothing can be written, nothing breaks.
    ASSERT_TRUE(doc_.file.open_read(doc_path_));
    {
        CopyMark mark(doc_);
        EXPECT_FALSE(mark.applied());
    }
    EXPECT_TRUE(file_bytes(doc_path_) == original_);

    // Cut short behind the viewer's back: no header is written into it.
    ASSERT_TRUE(doc_.file.open_shared(doc_path_));
    const Bytes stump(original_.begin(), original_.begin() + 100);
    ASSERT_TRUE(write_file(doc_path_, stump));
    { CopyMark mark(doc_); }
    EXPECT_TRUE(file_bytes(doc_path_) == stump);
}

TEST(SaveKind, ExtensionDecidesInAnyLetterCase) {
    EXPECT_EQ(save_kind("report.vel"), SaveKind::kDocument);
    EXPECT_EQ(save_kind("C:\\out\\report.Vel  "), SaveKind::kDocument);
    EXPECT_EQ(save_kind("REPORT.EXE"), SaveKind::kViewer);
    EXPECT_EQ(save_kind(" Report.exe"), SaveKind::kViewer);
    EXPECT_EQ(save_kind("Report.Pdf "), SaveKind::kPdf);
    EXPECT_EQ(save_kind("report.txt"), SaveKind::kInvalid);
    EXPECT_EQ(save_kind("report"), SaveKind::kInvalid);
    EXPECT_EQ(save_kind("vel"), SaveKind::kInvalid);
    EXPECT_EQ(save_kind(""), SaveKind::kInvalid);
    EXPECT_EQ(save_kind("report.exe.txt"), SaveKind::kInvalid);
}

TEST(SaveMessages, BuildStatusesNameTheFileConcerned) {
    const std::string d = " C:\\doc.vel ", t = "C:\\out.exe ", p = " C:\\vell.exe";
    EXPECT_EQ(build_status_message(-5, d, t, p), "Can't find input file: C:\\doc.vel\rUnable to save document");
    EXPECT_EQ(build_status_message(-4, d, t, p),
              "Unable to overwrite output file: C:\\out.exe\rUnable to save document");
    EXPECT_EQ(build_status_message(-3, d, t, p), "Can't open input file: C:\\doc.vel\rUnable to save document");
    EXPECT_EQ(build_status_message(-2, d, t, p), "Can't open output file: C:\\out.exe\rUnable to save document");
    EXPECT_EQ(build_status_message(-1, d, t, p), "Can't open stub file: C:\\vell.exe\rUnable to save document");
    EXPECT_EQ(build_status_message(0, d, t, p), "");
    EXPECT_EQ(build_status_message(-6, d, t, p), "");
    EXPECT_EQ(invalid_name_message("a.txt"), "Invalid file name: a.txt\rFile must have an .EXE extension");
}

TEST_F(Saving, VelCopyReplacesAnExistingFileAndIsMarkedAsACopy) {
    const std::string target = dir_.file("copy.VEL");
    ASSERT_TRUE(write_file(target, Bytes(10, 'x')));
    EXPECT_EQ(save("  " + target + " "), "");
    const Bytes copy = file_bytes(target);
    EXPECT_EQ(delete_flag(copy), 0);
    EXPECT_EQ(copy_flag(copy), 1);
    expect_same_but_flags(copy, original_);
    // The document keeps its own flags, the delete-when-closed flag too.
    EXPECT_TRUE(file_bytes(doc_path_) == original_);
}

TEST_F(Saving, CopyOfAReadOnlyDocumentIsMarkedInItsOwnHeader) {
    // The document file refuses the mark (opened for reading only); the copy
    // written from it carries the mark all the same.
    ASSERT_TRUE(doc_.file.open_read(doc_path_));
    const std::string target = dir_.file("copy.vel");
    EXPECT_EQ(save(target), "");
    const Bytes copy = file_bytes(target);
    EXPECT_EQ(copy_flag(copy), 1);
    EXPECT_EQ(delete_flag(copy), 0);
    expect_same_but_flags(copy, original_);
    EXPECT_TRUE(file_bytes(doc_path_) == original_);
}

TEST_F(Saving, ExeIsASelfExtractingViewerCarryingAMarkedCopy) {
    const std::string target = dir_.file("Report.Exe");
    ASSERT_TRUE(write_file(target, Bytes(10, 'x')));  // replaced
    EXPECT_EQ(save(target), "");
    const Bytes viewer = file_bytes(target);
    const Bytes program = program_bytes();
    ASSERT_EQ(self_extract_base(target), int32_t(program.size()));
    ASSERT_EQ(viewer.size(), program.size() + original_.size() + kTrailerSize);
    EXPECT_TRUE(std::equal(program.begin(), program.end(), viewer.begin()));
    const Bytes inside(viewer.begin() + program.size(), viewer.end() - kTrailerSize);
    EXPECT_EQ(copy_flag(inside), 1);
    EXPECT_EQ(delete_flag(inside), 0);
    EXPECT_EQ(get_i16(inside, hdr::kEmbedded), 1);
    EXPECT_TRUE(file_bytes(doc_path_) == original_);
}

TEST_F(Saving, OtherNamesAreRefusedAndNothingIsWritten) {
    const std::string text = dir_.file("report.txt"), bare = dir_.file("report");
    EXPECT_EQ(save(text), invalid_name_message(text));
    EXPECT_EQ(save(bare), invalid_name_message(bare));
    EXPECT_FALSE(std::filesystem::exists(text));
    EXPECT_FALSE(std::filesystem::exists(bare));
    EXPECT_TRUE(file_bytes(doc_path_) == original_);
}

TEST_F(Saving, TheOpenDocumentAndTheRunningProgramAreNeverOverwritten) {
    EXPECT_EQ(save(doc_path_), save_over_document_message(doc_path_));
    EXPECT_TRUE(file_bytes(doc_path_) == original_);
    // The same file under another name is recognised too.
    const std::string link = dir_.file("alias.vel");
    std::filesystem::create_hard_link(doc_path_, link);
    EXPECT_EQ(save(link), save_over_document_message(link));
    EXPECT_TRUE(file_bytes(doc_path_) == original_);

    const std::string program_link = dir_.file("viewer.exe");
    std::filesystem::create_hard_link(program_path_, program_link);
    EXPECT_EQ(save(program_link), save_over_program_message(program_link));
    EXPECT_TRUE(file_bytes(program_path_) == program_bytes());
}

TEST_F(Saving, BuildFailuresAreReportedWithTheirFiles) {
    const std::string target = dir_.file("out.exe");
    EXPECT_EQ(save_to(doc_path_, target, dir_.file("missing.exe")),
              build_status_message(kBuildNoStub, doc_path_, target, dir_.file("missing.exe")));
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(save_to(dir_.file("gone.vel"), target, program_path_),
              build_status_message(kBuildNoInput, dir_.file("gone.vel"), target, program_path_));
    EXPECT_EQ(save_to(dir_.file("gone.vel"), dir_.file("c.vel"), program_path_), kSaveFailedMessage);
    EXPECT_EQ(save_to(doc_path_, dir_.file("no such folder/c.vel"), program_path_), kSaveFailedMessage);
}

}  // namespace
}  // namespace vell
