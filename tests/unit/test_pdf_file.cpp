// The open document as a PDF file (Save as PDF, E-Mail as PDF): written
// whole under the target's name, or not at all, with an existing file of
// that name untouched on every failure.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include "document/document.h"
#include "document_test_util.h"
#include "render/cairo_pdf.h"
#include "render/unknown_notice.h"
#include "send/cairo_pdf_file.h"
#include "send/save.h"
#include "vel_writer.h"

namespace vell {
namespace {

using testing_document::TempDir;
namespace fs = std::filesystem;

Bytes three_pages(bool damaged_last) {
    DocumentPlan s;
    s.title = "Three Pages";
    for (int n = 1; n <= 3; ++n) {
        PageBuilder page(n == 2 ? 9 : 1, n == 2 ? 1 : 0);
        page.font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "page " + std::to_string(n));
        // An opcode 18 is a record of an unknown kind.
        if (damaged_last && n == 3) page.raw({18, 0});
        s.pages.push_back(page.end_of_page().bytes());
    }
    return write_document(s);
}

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    if (pipe) pclose(pipe);
    return out;
}

class PdfFile : public ::testing::Test {
protected:
    void open(bool damaged_last) {
        ASSERT_TRUE(write_file(doc_path_, three_pages(damaged_last)));
        ASSERT_TRUE(open_document(doc_, doc_path_, 0));
        ASSERT_EQ(read_header(doc_), HeaderCheck::kDocument);
        read_page_index(doc_);
    }
    void TearDown() override { close_document(doc_); }
    // A file of the target's name from before, which a failure must keep.
    void place_existing_target() { ASSERT_TRUE(write_file(target_, Bytes{'o', 'l', 'd'})); }
    void expect_existing_target_kept_alone() const {
        Bytes kept;
        ASSERT_TRUE(read_file(target_, &kept));
        EXPECT_TRUE(kept == (Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(others(), 1u);
    }
    // Files in the folder besides the document.
    size_t others() const {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(doc_path_).parent_path()))
            n += entry.path() != doc_path_;
        return n;
    }

    TempDir dir_;
    const std::string doc_path_ = dir_.file("three.vel");
    const std::string target_ = dir_.file("three.pdf");
    Document doc_;
};

TEST_F(PdfFile, EveryPageOnItsPaperReplacingAnExistingFileWithNothingLeftBeside) {
    open(false);
    ASSERT_NO_FATAL_FAILURE(place_existing_target());
    EXPECT_EQ(write_pdf_file(doc_, target_, nullptr), "");
    const std::string info = run("pdfinfo -f 1 -l 3 '" + target_ + "'");
    EXPECT_NE(info.find("Title:           Three Pages"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    2 size:  841.89 x 595.276 pts"), std::string::npos) << info;
    EXPECT_NE(run("pdftotext '" + target_ + "' -").find("page 3"), std::string::npos);
    EXPECT_EQ(others(), 1u);
}

TEST_F(PdfFile, ADamagedPageGivesTheNoticeAndLeavesTheExistingFile) {
    open(true);
    ASSERT_NO_FATAL_FAILURE(place_existing_target());
    EXPECT_EQ(write_pdf_file(doc_, target_, nullptr), unknown_opcode_notice());
    expect_existing_target_kept_alone();
}

TEST_F(PdfFile, AFolderThatCannotBeWrittenWritesNothing) {
    open(false);
    const std::string missing = dir_.file("no such folder/three.pdf");
    EXPECT_EQ(write_pdf_file(doc_, missing, nullptr), kSaveFailedMessage);
    EXPECT_EQ(others(), 0u);
}

TEST_F(PdfFile, AFullDiskKeepsTheExistingFileAndLeavesNothingBeside) {
    open(false);
    ASSERT_NO_FATAL_FAILURE(place_existing_target());
    // Files may grow to 2,000 bytes: the writes beyond fail as on a full disk.
    rlimit was = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &was), 0);
    rlimit small = was;
    small.rlim_cur = 2000;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string said = write_pdf_file(doc_, target_, nullptr);
    setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(said, kSaveFailedMessage);
    expect_existing_target_kept_alone();
}

TEST_F(PdfFile, AWriteThatFailsStopsTheWritingAndIsTold) {
    open(false);
    PdfRequest request;
    request.pages = {1, 2, 3};
    size_t written = 0, pages_done = 0;
    // A disk that is full after 10 bytes.
    request.write = [&written](const unsigned char*, size_t size) {
        written += size;
        return written <= 10;
    };
    request.progress = [&pages_done](size_t done) { pages_done = done; };
    EXPECT_EQ(write_pdf(doc_, request).status, PdfStatus::kWriteFailed);
    EXPECT_LT(pages_done, 3u);
}

TEST_F(PdfFile, SaveRefusesTheOpenDocumentsOwnFile) {
    open(false);
    const std::string alias = dir_.file("alias.pdf");
    fs::create_hard_link(doc_path_, alias);
    EXPECT_EQ(save_as_pdf(doc_, " " + alias + " ", dir_.file("vell.exe"), nullptr),
              save_over_document_message(alias));
    EXPECT_EQ(fs::file_size(alias), fs::file_size(doc_path_));
}

}  // namespace
}  // namespace vell
