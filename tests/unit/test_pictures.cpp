// Pictures: proportions, boxes, the screen and printer paths, embedded
// pictures through temporary files, and the temporary names themselves.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "document/file_io.h"
#include "render/pictures.h"
#include "render_test_util.h"

namespace vell {
namespace {

using testing_render::RenderFixture;
using testing_render::TempDir;
using testing_render::bitmap_file;

// The system's files, with the temporary directory moved into a test's own.
class TestFiles : public SystemFileSystem {
public:
    explicit TestFiles(std::string directory) : directory_(std::move(directory)) {}
    std::string temp_path() override { return directory_; }
    std::set<std::string> created;

    bool create_new(const std::string& path, File* file) override {
        bool ok = SystemFileSystem::create_new(path, file);
        if (ok) created.insert(path);
        return ok;
    }

private:
    std::string directory_;
};

// ---- Proportions -----------------------------------------------------------------

TEST(FitPicture, KeepsProportionsInsideTheBox) {
    struct Case { int bw, bh, w, h, want_w, want_h; };
    const Case cases[] = {
        {200, 100, 192, 192, 192, 96},   // wider than the box: full width
        {100, 200, 192, 192, 96, 192},   // taller: full height
        {100, 100, 192, 192, 192, 192},  // the same proportions fill the box
        {3, 2, 100, 100, 100, 67},       // 66.67 rounds up
        {2, 3, 100, 100, 67, 100},
        {5, 2, 2, 100, 2, 1},            // 0.8 rounds to 1
        {400, 100, 100, 0, 0, 0},        // a box of no height
        {100, 400, 0, 100, 0, 0},        // a box of no width
        {0, 100, 100, 100, 0, 0},        // a bitmap of no pixels
    };
    for (const Case& c : cases) {
        PictureSize size = fit_picture(c.bw, c.bh, c.w, c.h);
        EXPECT_EQ(size.width, c.want_w) << c.bw << "x" << c.bh << " in " << c.w << "x" << c.h;
        EXPECT_EQ(size.height, c.want_h) << c.bw << "x" << c.bh << " in " << c.w << "x" << c.h;
    }
}

TEST(DibRows, RoundedUpToFourBytes) {
    EXPECT_EQ(dib_row_bytes(3, 1), 4u);
    EXPECT_EQ(dib_row_bytes(33, 1), 8u);
    EXPECT_EQ(dib_row_bytes(3, 24), 12u);
    EXPECT_EQ(dib_row_bytes(4, 24), 12u);
    EXPECT_EQ(dib_row_bytes(5, 8), 8u);
    EXPECT_EQ(dib_row_bytes(1, 32), 4u);
    EXPECT_EQ(dib_row_bytes(0, 24), 0u);
}

// ---- Temporary names ------------------------------------------------------------------

TEST(TemporaryNames, PrefixDigitsAndExtension) {
    EXPECT_EQ(temporary_name("C:\\T\\", "~DB", 1, ".bmp"), "C:\\T\\~DB00001.bmp");
    EXPECT_EQ(temporary_name("C:\\T\\", "~DB", 9999, ".bmp"), "C:\\T\\~DB09999.bmp");
    EXPECT_EQ(temporary_name("C:\\T\\", "~D", 42, ".exe"), "C:\\T\\~D000042.exe");
    EXPECT_EQ(temporary_name("", "LONGPREFIX", 3, ".x"), "LONGPRE3.x");
}

TEST(TemporaryNames, DirectoryIsTrimmedAndEndsInASeparator) {
    struct Fixed : SystemFileSystem {
        std::string value;
        std::string temp_path() override { return value; }
    } files;
    files.value = "  C:\\TEMP  ";
    EXPECT_EQ(temp_directory(files), "C:\\TEMP\\");
    files.value = "C:\\TEMP\\";
    EXPECT_EQ(temp_directory(files), "C:\\TEMP\\");
    files.value = "/tmp/";
    EXPECT_EQ(temp_directory(files), "/tmp/");
}

TEST(TemporaryNames, TheFirstFreeSerialSkippingLeftovers) {
    TempDir dir;
    TestFiles files(dir.path());
    EXPECT_EQ(make_temporary_name(files, "~DB", ".bmp"), dir.path() + "~DB00001.bmp");
    ASSERT_TRUE(write_file(dir.path() + "~DB00001.bmp", Bytes{1}));
    ASSERT_TRUE(write_file(dir.path() + "~DB00002.bmp", Bytes{1}));
    EXPECT_EQ(make_temporary_name(files, "~DB", ".bmp"), dir.path() + "~DB00003.bmp");
    EXPECT_EQ(make_temporary_name(files, "~D", ".exe"), dir.path() + "~D000001.exe");

    File file;
    EXPECT_EQ(claim_temporary_file(files, "~DB", ".bmp", &file), dir.path() + "~DB00003.bmp");
    EXPECT_TRUE(file.is_open());
    EXPECT_TRUE(file_exists(dir.path() + "~DB00003.bmp")) << "claimed names exist at once";
    file.close();
    File second;
    EXPECT_EQ(claim_temporary_file(files, "~DB", ".bmp", &second), dir.path() + "~DB00004.bmp");
}

TEST(TemporaryNames, ANameTakenBetweenTheLookAndTheClaimIsPassedOver) {
    // Another viewer creates ~DB00001.bmp just after this one saw it free.
    struct Racing : TestFiles {
        using TestFiles::TestFiles;
        bool create_new(const std::string& path, File* file) override {
            if (path.find("~DB00001") != std::string::npos) write_file(path, Bytes{9});
            return TestFiles::create_new(path, file);
        }
    };
    TempDir dir;
    Racing files(dir.path());
    File file;
    EXPECT_EQ(claim_temporary_file(files, "~DB", ".bmp", &file), dir.path() + "~DB00002.bmp");
    Bytes other;
    ASSERT_TRUE(read_file(dir.path() + "~DB00001.bmp", &other));
    EXPECT_EQ(other, Bytes{9}) << "the other viewer's file is untouched";
}

TEST(TemporaryNames, AFolderThatCannotBeWrittenEndsTheSearchAtOnce) {
    struct Unwritable : SystemFileSystem {
        int attempts = 0;
        std::string temp_path() override { return "/nowhere/"; }
        bool exists(const std::string&) override { return false; }
        bool create_new(const std::string&, File*) override { return ++attempts, false; }
    } files;
    File file;
    EXPECT_EQ(claim_temporary_file(files, "~DB", ".bmp", &file), "");
    EXPECT_EQ(files.attempts, 1);
}

TEST(TemporaryNames, NoNameWhenEverySerialIsTaken) {
    struct Full : SystemFileSystem {
        int looks = 0;
        std::string temp_path() override { return "/nowhere/"; }
        bool exists(const std::string&) override { return ++looks, true; }
    } files;
    EXPECT_EQ(make_temporary_name(files, "~DB", ".bmp"), "");
    EXPECT_EQ(files.looks, 9999);
    File file;
    EXPECT_EQ(claim_temporary_file(files, "~DB", ".bmp", &file), "");
}

// ---- Picture records -------------------------------------------------------------------

class Pictures : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        files_ = std::make_unique<TestFiles>(dir_.path());
        render_hooks().files = files_.get();
    }
    std::string picture(const std::string& name, int w, int h, uint16_t bits = 24) {
        std::string path = dir_.file(name);
        EXPECT_TRUE(write_file(path, bitmap_file(w, h, bits)));
        return path;
    }
    TempDir dir_;
    std::unique_ptr<TestFiles> files_;
};

TEST_F(Pictures, ScreenPathStretchesWithProportionsKept) {
    const std::string wide = picture("wide.bmp", 200, 100);
    const std::string tall = picture("tall.bmp", 100, 200);
    auto surface = render(PageBuilder()
                              .picture_file(1, 1, 3, 3, wide)
                              .picture_file(4, 1, 6, 3, "  " + tall + "  ")
                              .bytes());
    auto blts = surface.calls_of(SurfaceOp::kStretchBlt);
    ASSERT_EQ(blts.size(), 2u);
    const auto& first = blts[0].args;
    EXPECT_EQ(std::vector<int64_t>(first.begin(), first.begin() + 4), (std::vector<int64_t>{96, 96, 192, 96}));
    EXPECT_EQ(std::vector<int64_t>(first.begin() + 5, first.end()),
              (std::vector<int64_t>{0, 0, 200, 100, 0x00CC0020}));
    EXPECT_NE(blts[0].result, 0u) << "the picture was selected into the memory context";
    const auto& second = blts[1].args;
    EXPECT_EQ(std::vector<int64_t>(second.begin(), second.begin() + 4), (std::vector<int64_t>{384, 96, 96, 192}));
    EXPECT_EQ(surface.calls_of(SurfaceOp::kLoadBitmap).at(1).text, tall) << "path trimmed";
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kGetDIBits).empty());
    expect_device_context_restored(surface);
}

TEST_F(Pictures, ReversedBoxesKeepTheFirstCorner) {
    const std::string path = picture("square.bmp", 50, 50);
    zoom_factor().value = 0.5;
    auto surface = render(PageBuilder().picture_file(3, 3, 1, 1, path).bytes());
    auto blt = surface.calls_of(SurfaceOp::kStretchBlt).at(0).args;
    EXPECT_EQ(std::vector<int64_t>(blt.begin(), blt.begin() + 4), (std::vector<int64_t>{144, 144, 96, 96}));
}

TEST_F(Pictures, PrinterPathGoesThroughDeviceIndependentBits) {
    const std::string path = picture("mono.bmp", 3, 5, 1);
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    Target printer;
    printer.printing = true;
    printer.resolution_x = printer.resolution_y = 300;
    printer.origin_x = printer.origin_y = -20;
    printer.printer_settings = settings.data();
    auto surface = render(PageBuilder().picture_file(1, 1, 2, 3, path).bytes(), printer);
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kStretchBlt).empty());
    auto get = surface.calls_of(SurfaceOp::kGetDIBits);
    auto put = surface.calls_of(SurfaceOp::kStretchDIBits);
    ASSERT_EQ(get.size(), 1u);
    ASSERT_EQ(put.size(), 1u);
    auto loaded = surface.calls_of(SurfaceOp::kLoadBitmap).at(0).result;
    EXPECT_EQ(get[0].args[1], int64_t(loaded));
    EXPECT_EQ(std::vector<int64_t>(get[0].args.begin() + 2, get[0].args.end()),
              (std::vector<int64_t>{0, 5, 1, 0}));
    EXPECT_EQ(get[0].dib.size, 40u);
    EXPECT_EQ(get[0].dib.width, 3);
    EXPECT_EQ(get[0].dib.height, 5);
    EXPECT_EQ(get[0].dib.planes, 1);
    EXPECT_EQ(get[0].dib.bit_count, 1);
    EXPECT_EQ(get[0].dib.compression, 0u);
    EXPECT_EQ(get[0].dib.size_image, 0u);
    // 3 x 5 in a 300 x 600 box: full width, height round(5 * 300 / 3).
    EXPECT_EQ(put[0].args, (std::vector<int64_t>{280, 280, 300, 500, 0, 0, 3, 5, 1, 0, 0x00CC0020}));
    expect_device_context_restored(surface);
}

TEST_F(Pictures, PrinterBitsStartZeroed) {
    // The recording surface's GetDIBits fills nothing, as a failing one
    // does; a buffer of the same size freed dirty just before is likely to
    // come back from the allocator.
    const std::string path = picture("small.bmp", 5, 3);
    const size_t size = dib_row_bytes(5, 24) * 3;
    delete[] static_cast<uint8_t*>(std::memset(new uint8_t[size], 0xAB, size));
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    Target printer;
    printer.printing = true;
    printer.printer_settings = settings.data();
    auto surface = render(PageBuilder().picture_file(1, 1, 2, 2, path).bytes(), printer);
    auto put = surface.calls_of(SurfaceOp::kStretchDIBits);
    ASSERT_EQ(put.size(), 1u);
    EXPECT_EQ(put[0].text, std::string(size, '\0'));
}

std::vector<std::string>& notices_told() {
    static std::vector<std::string> told;
    return told;
}

TEST_F(Pictures, PicturesBeyondThePageBudgetAreDrawnReducedOnEveryPathAndToldOnce) {
    // A bitmap file whose header claims 60000 x 60000 pixels (10 GB of
    // bits) in a few bytes, twice on a page: each is drawn into its box
    // from a reduced copy.
    Bytes bytes = bitmap_file(1, 1);
    put_i32(bytes.data(), bytes.size(), 18, 60000);
    put_i32(bytes.data(), bytes.size(), 22, 60000);
    const std::string path = dir_.file("huge.bmp");
    ASSERT_TRUE(write_file(path, bytes));
    notices_told().clear();
    render_hooks().picture_notice = [](const std::string& text) { notices_told().push_back(text); };
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    for (bool printing : {false, true}) {
        Target target;
        target.printing = printing;
        target.printer_settings = printing ? settings.data() : nullptr;
        auto surface = render(
            PageBuilder().picture_file(1, 1, 2, 2, path).picture_file(3, 1, 4, 2, path).bytes(), target);
        auto draws = surface.calls_of(printing ? SurfaceOp::kStretchDIBits : SurfaceOp::kStretchBlt);
        ASSERT_EQ(draws.size(), 2u) << printing;
        for (const RecordedCall& draw : draws) {
            const auto& a = draw.args;
            EXPECT_EQ(a[2], 96);  // the box, 1 inch square
            EXPECT_EQ(a[3], 96);
            // The copy keeps about the pixels it is drawn on, no more.
            const size_t source = printing ? 6 : 7;  // source width, then height
            EXPECT_EQ(a[source], a[source + 1]) << "proportions kept";
            EXPECT_GE(a[source], 90);
            EXPECT_LE(a[source], 96);
        }
        for (const RecordedCall& load : surface.calls_of(SurfaceOp::kLoadBitmap))
            EXPECT_NE(load.text, path) << "the huge file itself is never loaded";
        EXPECT_FALSE(file_exists(dir_.path() + "~DB00001.bmp"));
        expect_device_context_restored(surface);
    }
    EXPECT_EQ(notices_told(), std::vector<std::string>{reduced_picture_notice()});
}

TEST(ReducedBitmaps, EachPixelIsTheSourcePixelUnderIt) {
    // A 4 x 2 bitmap of 8-bit palette indexes 0..7, colour i = 0x000010 * i,
    // reduced to 2 x 1: the pixels at (0, 0) and (2, 0) of the top row.
    TempDir dir;
    Bytes bytes = bitmap_file(4, 2, 8);
    const size_t palette = 14 + 40, pixels = palette + 256 * 4;
    for (int i = 0; i < 8; ++i) {
        bytes[palette + size_t(i) * 4] = uint8_t(0x10 * i);  // blue
        // Bottom-up: the file's first row is the picture's bottom row.
        bytes[pixels + size_t(i / 4) * 4 + size_t(i % 4)] = uint8_t(i < 4 ? 4 + i : i - 4);
    }
    const std::string source = dir.file("source.bmp"), reduced = dir.file("reduced.bmp");
    ASSERT_TRUE(write_file(source, bytes));
    File in, out;
    ASSERT_TRUE(in.open_read(source));
    BitmapHeader header;
    ASSERT_TRUE(read_bitmap_header(in, &header));
    EXPECT_EQ(header.width, 4);
    EXPECT_EQ(header.height, 2);
    ASSERT_TRUE(out.create_always(reduced));
    ASSERT_TRUE(write_reduced_bitmap(in, header, 2, 1, &out));
    out.close();
    Bytes written;
    ASSERT_TRUE(read_file(reduced, &written));
    ASSERT_EQ(written.size(), 54u + 8u);
    EXPECT_EQ(get_i32(written, 18), 2);
    EXPECT_EQ(get_i32(written, 22), 1);
    EXPECT_EQ(written[54], 0x00);      // index 0: blue 0x00
    EXPECT_EQ(written[54 + 3], 0x20);  // index 2: blue 0x20
}

TEST_F(Pictures, MissingAndUnreadableFilesDrawNothing) {
    const std::string junk = dir_.file("junk.bmp");
    ASSERT_TRUE(write_file(junk, Bytes{'N', 'O', 'T', ' ', 'A', ' ', 'B', 'M', 'P'}));
    auto surface = render(PageBuilder()
                              .picture_file(0, 0, 1, 1, dir_.file("missing.bmp"))
                              .picture_file(0, 0, 1, 1, junk)
                              .aligned_text(0, 0, 0, "after")
                              .bytes());
    auto loads = surface.calls_of(SurfaceOp::kLoadBitmap);
    ASSERT_EQ(loads.size(), 1u) << "a missing file is not even loaded";
    EXPECT_EQ(loads[0].text, junk);
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kCreatePictureDc).empty());
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kStretchBlt).empty());
    EXPECT_EQ(texts_out(surface), std::vector<std::string>{"after"});
}

TEST_F(Pictures, EmbeddedPicturesAreWrittenDrawnAndDeleted) {
    auto surface = render(PageBuilder().embedded_picture(1, 1, 3, 3, bitmap_file(200, 100)).bytes());
    const std::string temp = dir_.path() + "~DB00001.bmp";
    auto loads = surface.calls_of(SurfaceOp::kLoadBitmap);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].text, temp);
    EXPECT_NE(loads[0].result, 0u) << "the file held the bitmap when it was loaded";
    auto blt = surface.calls_of(SurfaceOp::kStretchBlt).at(0).args;
    EXPECT_EQ(std::vector<int64_t>(blt.begin(), blt.begin() + 4), (std::vector<int64_t>{96, 96, 192, 96}));
    EXPECT_FALSE(file_exists(temp));
    EXPECT_EQ(files_->created, std::set<std::string>{temp});
    expect_device_context_restored(surface);
}

TEST_F(Pictures, EmbeddedPicturesSkipLeftoversAndLeaveThem) {
    const std::string leftover = dir_.path() + "~DB00001.bmp";
    ASSERT_TRUE(write_file(leftover, Bytes{1, 2, 3}));
    auto surface = render(PageBuilder().embedded_picture(0, 0, 1, 1, bitmap_file(4, 4)).bytes());
    EXPECT_EQ(surface.calls_of(SurfaceOp::kLoadBitmap).at(0).text, dir_.path() + "~DB00002.bmp");
    EXPECT_FALSE(file_exists(dir_.path() + "~DB00002.bmp"));
    EXPECT_TRUE(file_exists(leftover));
}

TEST_F(Pictures, EmptyEmbeddedPictureMakesAndDeletesAnEmptyFile) {
    auto surface = render(PageBuilder().embedded_picture(0, 0, 1, 1, Bytes()).aligned_text(0, 0, 0, "next").bytes());
    const std::string temp = dir_.path() + "~DB00001.bmp";
    EXPECT_EQ(files_->created, std::set<std::string>{temp});
    auto loads = surface.calls_of(SurfaceOp::kLoadBitmap);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].result, 0u);
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kStretchBlt).empty());
    EXPECT_FALSE(file_exists(temp));
    EXPECT_EQ(texts_out(surface), std::vector<std::string>{"next"});
}

TEST_F(Pictures, EmbeddedPictureWithoutATemporaryNameIsSkipped) {
    struct Unwritable : SystemFileSystem {
        std::string temp_path() override { return "/nonexistent-vell-dir/"; }
    } files;
    render_hooks().files = &files;
    auto surface = render(PageBuilder().embedded_picture(0, 0, 1, 1, bitmap_file(4, 4))
                              .aligned_text(0, 0, 0, "after").bytes());
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kLoadBitmap).empty());
    EXPECT_EQ(texts_out(surface), std::vector<std::string>{"after"});
}

}  // namespace
}  // namespace vell
