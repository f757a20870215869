// vellconvert, run as the built program: PDF pages with their own paper,
// texts in order and embedded fonts (read back with poppler's pdfinfo,
// pdftotext and pdffonts), picture sizes and names, passwords,
// self-extracting input, standard output, and bad inputs that must leave
// a message naming the file, a non-zero status and no output behind; the
// document never written over, outputs that are not files kept as they
// are, page files all or none, and the options for services.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "command_test_util.h"
#include "document/container.h"
#include "render_test_util.h"
#include "vel_writer.h"

namespace fs = std::filesystem;

namespace vell {
namespace {

class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vell-convert-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    // Runs a command line in the test's directory.
    Outcome shell(const std::string& command) {
        return run_command("cd '" + dir_.string() + "' && " + command, dir_ / "run");
    }
    Outcome convert(const std::string& args) { return shell(tool() + " " + args); }
    static std::string tool() { return std::string(VELL_BIN_DIR) + "/vellconvert"; }
    // The file's kind as lstat sees it: a link stays a link.
    mode_t kind(const std::string& name) const {
        struct stat st;
        return lstat(file(name).c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
    }

    std::string make(const std::string& name, const DocumentPlan& plan) {
        EXPECT_TRUE(write_file(file(name), write_document(plan)));
        return file(name);
    }
    // Only the files the test made itself are left in the directory.
    size_t files_in_dir() const {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(dir_)) n += entry.is_regular_file();
        return n;
    }

    fs::path dir_;
};

DocumentPlan three_papers() {
    DocumentPlan plan;
    plan.title = "Three Papers";
    plan.pages.push_back(PageBuilder(1, 0).font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "First on Letter").end_of_page().bytes());
    plan.pages.push_back(PageBuilder(9, 1).font(1, 12, 0, "Times New Roman").aligned_text(1, 1, 0, "Second on A4 landscape").end_of_page().bytes());
    // The text near the bottom of Legal lies below the bottom of Letter.
    plan.pages.push_back(PageBuilder(5, 0).font(0, 12, 0, "Courier New").aligned_text(1, 13, 0, "Third at the foot of Legal").end_of_page().bytes());
    return plan;
}

TEST_F(Convert, PdfPagesHaveTheirOwnPaperTextsInOrderAndEmbeddedFonts) {
    const std::string doc = make("papers.vel", three_papers());
    ASSERT_EQ(convert("papers.vel papers.pdf").status, 0);
    const Outcome info = shell("pdfinfo -f 1 -l 3 papers.pdf");
    EXPECT_NE(info.out.find("Title:           Three Papers"), std::string::npos);
    EXPECT_NE(info.out.find("Page    1 size:  612 x 792 pts"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Page    2 size:  841.89 x 595.276 pts"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Page    3 size:  612 x 1008 pts"), std::string::npos) << info.out;
    const Outcome text = shell("pdftotext papers.pdf -");
    const size_t first = text.out.find("First on Letter"), second = text.out.find("Second on A4 landscape"),
                 third = text.out.find("Third at the foot of Legal");
    ASSERT_NE(third, std::string::npos) << text.out;
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    // The Legal text lies within its page: cropped to page 3 it is found.
    EXPECT_NE(shell("pdftotext -f 3 -l 3 -y 900 -H 108 -W 612 papers.pdf -").out.find("Third"), std::string::npos);
    const Outcome fonts = shell("pdffonts papers.pdf");
    for (const char* face : {"LiberationSans ", "LiberationSerif-Bold", "LiberationMono"}) {
        const size_t at = fonts.out.find(face);
        ASSERT_NE(at, std::string::npos) << fonts.out;
        const std::string line = fonts.out.substr(at, fonts.out.find('\n', at) - at);
        EXPECT_NE(line.find("yes yes yes"), std::string::npos) << line;  // embedded, subset, unicode
    }
}

TEST_F(Convert, PicturesPerPageAtTheViewersSizeAndTextOnePagePerFormFeed) {
    make("papers.vel", three_papers());
    ASSERT_EQ(convert("papers.vel page.png --pages 1,3").status, 0);
    EXPECT_NE(shell("identify page-1.png").out.find("816x1056"), std::string::npos);
    EXPECT_NE(shell("identify page-3.png").out.find("816x1344"), std::string::npos);
    EXPECT_FALSE(fs::exists(file("page-2.png")));
    ASSERT_EQ(convert("papers.vel 'p%d.svg' --pages 2 --dpi 72 --zoom 2").status, 0);
    EXPECT_NE(slurp(file("p2.svg")).find("width=\"1684px\""), std::string::npos);
    const Outcome text = convert("papers.vel - --format txt");
    EXPECT_EQ(text.out, "First on Letter\n\fSecond on A4 landscape\n\fThird at the foot of Legal\n");
}

// The text output holds what the page shows, in the lines it shows them.
TEST_F(Convert, TextOutputHoldsWhatThePageShows) {
    DocumentPlan plan;
    PageBuilder page;
    // A box as high as its 14-point text's em: the cell is taller, and the
    // one line shows cut at the bottom.
    page.font(0, 14, 0, "Arial").wrapped_text(1, 1, 4, 1 + 14.0f / 72, "One line box");
    // A 40-point amount with 6-point texts on its baseline, beside it.
    page.font(0, 40, 0, "Arial").aligned_text(2, 3, 0, "1,204.50");
    page.font(0, 6, 0, "Arial").aligned_text(1, 3.43f, 0, "Total").aligned_text(5, 3.43f, 0, "EUR");
    plan.pages.push_back(page.end_of_page().bytes());
    make("shown.vel", plan);
    EXPECT_EQ(convert("shown.vel - --format txt").out, "One line box\nTotal 1,204.50 EUR\n");
}

TEST_F(Convert, PasswordIsCheckedAndSelfExtractingViewersReadLikeDocuments) {
    DocumentPlan plan = three_papers();
    plan.password = "Secret";
    make("locked.vel", plan);
    Outcome none = convert("locked.vel out.pdf");
    EXPECT_EQ(none.status, 3);
    EXPECT_NE(none.err.find("This document is password protected."), std::string::npos) << none.err;
    Outcome wrong = convert("locked.vel out.pdf --password secret");
    EXPECT_EQ(wrong.status, 3);
    EXPECT_NE(wrong.err.find("Invalid Password.\nUnable to display document."), std::string::npos) << wrong.err;
    EXPECT_FALSE(fs::exists(file("out.pdf")));
    EXPECT_EQ(convert("locked.vel out.pdf --password Secret").status, 0);
    // Behind a stub, as a self-extracting viewer.
    std::ofstream(file("stub.bin"), std::ios::binary) << std::string(40000, 'M');
    ASSERT_EQ(build_self_extracting(file("locked.vel"), file("stub.bin"), file("viewer.exe")), 0);
    const Outcome piped = convert("viewer.exe - --password Secret --pages 2");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out.compare(0, 5, "%PDF-"), 0);
}

TEST_F(Convert, BadInputsNameTheFileFailAndLeaveNothingBehind) {
    std::ofstream(file("text.vel")) << "hello, not a document";
    Outcome r = convert("text.vel out.pdf");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("text.vel"), std::string::npos);
    EXPECT_NE(r.err.find("This file isn't a vell document."), std::string::npos);
    r = convert("missing.vel out.pdf");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.vel"), std::string::npos);
    // Page 2 ends in the middle of a line record.
    DocumentPlan plan = three_papers();
    plan.pages[1] = PageBuilder(1, 0).aligned_text(1, 1, 0, "ok").bytes();
    plan.pages[1].insert(plan.pages[1].end(), {5, 0, 1, 2, 3});
    make("damaged.vel", plan);
    for (const char* out : {"out.pdf", "out.png", "out.txt"}) {
        r = convert(std::string("damaged.vel ") + out);
        EXPECT_EQ(r.status, 2) << out;
        EXPECT_NE(r.err.find("damaged.vel: page 2 is damaged"), std::string::npos) << r.err;
    }
    // A file cut off inside its pages.
    std::string whole = slurp(make("whole.vel", three_papers()));
    std::ofstream(file("cut.vel"), std::ios::binary) << whole.substr(0, whole.size() - 40);
    EXPECT_EQ(convert("cut.vel out.pdf").status, 2);
    r = convert("whole.vel nowhere/out.pdf");
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("nowhere/out.pdf"), std::string::npos);
    EXPECT_EQ(convert("whole.vel out.pdf --pages 4").status, 1);
    EXPECT_EQ(convert("whole.vel out.doc").status, 1);
    // Only the inputs are there: no output, no temporary file.
    EXPECT_EQ(files_in_dir(), 4u);
}

TEST_F(Convert, TheDocumentIsNeverWrittenOverByAnyRoad) {
    const std::string whole = slurp(make("doc.vel", three_papers()));
    make("p2.png", three_papers());  // a document whose name a page pattern gives
    ASSERT_EQ(shell("ln doc.vel hard.pdf && ln -s doc.vel soft.pdf && mkdir sub").status, 0);
    for (const char* args : {"doc.vel doc.vel --format pdf", "doc.vel sub/../doc.vel --format txt",
                             "doc.vel hard.pdf", "doc.vel soft.pdf", "p2.png 'p%d.png'"}) {
        const Outcome r = convert(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_NE(r.err.find("it is never written over"), std::string::npos) << args << r.err;
    }
    // Standard output appended to the document.
    EXPECT_EQ(shell("{ " + tool() + " doc.vel - >> doc.vel; }").status, 1);
    EXPECT_EQ(slurp(file("doc.vel")), whole);
    EXPECT_EQ(slurp(file("p2.png")), whole);
    EXPECT_EQ(kind("soft.pdf"), S_IFLNK);
    EXPECT_FALSE(fs::exists(file("p1.png")));
}

TEST_F(Convert, FifosDevicesAndLinksStayWhatTheyAre) {
    make("doc.vel", three_papers());
    // A FIFO is written to its reader.
    const Outcome fifo = shell("mkfifo f.pdf && { timeout 20 cat f.pdf > got.pdf & } && " + tool() +
                               " doc.vel f.pdf; s=$?; wait; exit $s");
    EXPECT_EQ(fifo.status, 0) << fifo.err;
    EXPECT_EQ(kind("f.pdf"), S_IFIFO);
    EXPECT_EQ(slurp(file("got.pdf")).compare(0, 5, "%PDF-"), 0);
    // A link keeps pointing at its target, which gets the output.
    std::ofstream(file("real.pdf")) << "old";
    ASSERT_EQ(shell("ln -s real.pdf link.pdf").status, 0);
    EXPECT_EQ(convert("doc.vel link.pdf").status, 0);
    EXPECT_EQ(kind("link.pdf"), S_IFLNK);
    EXPECT_EQ(slurp(file("real.pdf")).compare(0, 5, "%PDF-"), 0);
    // Character devices, made here as copies of /dev/null and /dev/full.
    if (mknod(file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        mknod(file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "making device files needs root";
    EXPECT_EQ(convert("doc.vel null --format pdf").status, 0);
    const Outcome full = convert("doc.vel full --format pdf");
    EXPECT_EQ(full.status, 4);
    EXPECT_NE(full.err.find("cannot write full: No space left on device"), std::string::npos) << full.err;
    EXPECT_EQ(kind("null"), S_IFCHR);
    EXPECT_EQ(kind("full"), S_IFCHR);
    // A page that fails as the last step takes the pages named before it along.
    ASSERT_EQ(mknod(file("d2.png").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_EQ(convert("doc.vel 'd%d.png'").status, 4);
    EXPECT_FALSE(fs::exists(file("d1.png")));
    EXPECT_FALSE(fs::exists(file("d3.png")));
    EXPECT_EQ(kind("d2.png"), S_IFCHR);
}

TEST_F(Convert, PageFilesAreAllOrNoneAndNamesAreTakenAsMeant) {
    make("doc.vel", three_papers());
    // "%%" is a percent sign; without "%d" each page still gets its number.
    ASSERT_EQ(convert("doc.vel 'out%%.png'").status, 0);
    for (const char* name : {"out%-1.png", "out%-2.png", "out%-3.png"}) EXPECT_TRUE(fs::exists(file(name))) << name;
    const Outcome numbered = convert("doc.vel 'p%d.pdf'");
    EXPECT_EQ(numbered.status, 1);
    EXPECT_NE(numbered.err.find("cannot hold %d"), std::string::npos) << numbered.err;
    // A name at the length limit: the temporary name fits as well.
    const std::string longest = std::string(251, 'n') + ".pdf";
    EXPECT_EQ(convert("doc.vel " + longest).status, 0);
    EXPECT_TRUE(fs::exists(file(longest)));
    // Page 2's name is taken by a folder: no page is left.
    fs::create_directory(file("q2.png"));
    EXPECT_EQ(convert("doc.vel 'q%d.png'").status, 4);
    EXPECT_FALSE(fs::exists(file("q1.png")));
    EXPECT_EQ(files_in_dir(), 5u);
}

TEST_F(Convert, TerminatedRunLeavesNoTemporaryFiles) {
    // Pages with a large embedded picture, drawn from a temporary file in
    // TMPDIR, here the test's folder.
    DocumentPlan plan;
    const Bytes picture = testing_render::bitmap_file(600, 600);
    for (int i = 0; i < 30; ++i)
        plan.pages.push_back(PageBuilder(1, 0).embedded_picture(1, 1, 7, 7, picture).end_of_page().bytes());
    make("big.vel", plan);
    // Terminated while a picture's temporary file is there: it ends by the
    // signal, and neither that file nor a page's temporary file is left.
    const Outcome r = shell("{ TMPDIR=. " + tool() + " big.vel p.png --dpi 200 & pid=$!; "
                            "for i in $(seq 2000); do ls | grep -q '^~DB' && break; sleep 0.005; done; "
                            "kill -TERM $pid; wait $pid; echo $?; ls -A | grep -v -e '^big.vel$' -e '^run[.]'; }");
    EXPECT_EQ(r.out, "143\n");
}

TEST_F(Convert, OptionsSayWhatTheyDo) {
    DocumentPlan shrunk = three_papers();
    shrunk.display_option = 0x800;  // drawn at full size below 100 %, then shrunk
    make("shrunk.vel", shrunk);
    ASSERT_EQ(convert("shrunk.vel half.png --pages 1 --zoom 0.5").status, 0);
    EXPECT_NE(shell("identify half.png").out.find("408x528"), std::string::npos);
    const Outcome beyond = convert("shrunk.vel out.pdf --pages 5-");
    EXPECT_EQ(beyond.status, 1);
    EXPECT_NE(beyond.err.find("page 5 is not in the document (3 pages)"), std::string::npos) << beyond.err;
    const Outcome unused = convert("shrunk.vel out.txt --dpi 300 --zoom 2");
    EXPECT_EQ(unused.status, 0);
    EXPECT_NE(unused.err.find("--dpi does not apply to text"), std::string::npos) << unused.err;
    EXPECT_NE(unused.err.find("--zoom does not apply to text"), std::string::npos) << unused.err;
}

TEST_F(Convert, PasswordFromAFileAndNoFilePictures) {
    DocumentPlan locked = three_papers();
    locked.password = "Secret";
    make("locked.vel", locked);
    std::ofstream(file("pw.txt")) << "Secret\r\n";
    EXPECT_EQ(convert("locked.vel a.pdf --password-file pw.txt").status, 0);
    EXPECT_EQ(shell("echo Secret | " + tool() + " locked.vel b.pdf --password-file -").status, 0);
    // Picture file records draw nothing, told once.
    const Bytes bmp = testing_render::bitmap_file(8, 8);
    std::ofstream(file("local.bmp"), std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), long(bmp.size()));
    DocumentPlan pictures, blank;
    pictures.pages.push_back(PageBuilder(1, 0).picture_file(1, 1, 2, 2, file("local.bmp")).picture_file(3, 3, 4, 4, file("local.bmp")).end_of_page().bytes());
    blank.pages.push_back(PageBuilder(1, 0).end_of_page().bytes());
    make("pictures.vel", pictures);
    make("blank.vel", blank);
    ASSERT_EQ(convert("blank.vel blank.png").status, 0);
    ASSERT_EQ(convert("pictures.vel drawn.png").status, 0);
    const Outcome refused = convert("pictures.vel refused.png --no-file-pictures");
    EXPECT_EQ(refused.status, 0);
    EXPECT_NE(slurp(file("drawn.png")), slurp(file("blank.png")));
    EXPECT_EQ(slurp(file("refused.png")), slurp(file("blank.png")));
    const size_t told = refused.err.find("picture files are left out");
    ASSERT_NE(told, std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("picture files are left out", told + 1), std::string::npos) << refused.err;
}

TEST_F(Convert, KeepGoingDrawsDamagedPagesAsFarAsTheyGoWithAStatusOfItsOwn) {
    DocumentPlan damaged = three_papers();
    damaged.pages[1] = PageBuilder(1, 0).aligned_text(1, 1, 0, "Before the damage").bytes();
    damaged.pages[1].insert(damaged.pages[1].end(), {5, 0, 1, 2, 3});
    make("damaged.vel", damaged);
    const Outcome kept = convert("damaged.vel kept.txt --keep-going");
    EXPECT_EQ(kept.status, 5);
    EXPECT_NE(kept.err.find("page 2 is damaged"), std::string::npos) << kept.err;
    EXPECT_EQ(slurp(file("kept.txt")), "First on Letter\n\fBefore the damage\n\fThird at the foot of Legal\n");
}

}  // namespace
}  // namespace vell
