// The self-extracting container: recognising trailers, the builder's
// statuses in their order, and a built container read back as a document.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/container.h"
#include "document/document.h"
#include "document_test_util.h"
#include "vel_writer.h"

namespace vell {
namespace {

using testing_document::TempDir;

Bytes program_bytes(size_t size) {
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) b[i] = uint8_t(i * 31 + 7);
    return b;
}

Bytes sample_document() {
    DocumentPlan s;
    s.title = "Packed";
    s.delete_when_closed = 1;
    PageBuilder p1, p2(5, 1, 2);
    p1.aligned_text(1.0f, 1.5f, 0, "first page").end_of_page();
    p2.line(0, 0, 8.5f, 11, 0.5f, 0xFF).end_of_page();
    s.pages = {p1.bytes(), p2.bytes()};
    s.index = {{2, "Second"}};
    return write_document(s);
}

// program + document + i32 stub length + 17-byte marker, as given.
Bytes with_trailer(const Bytes& program, const Bytes& document, int32_t stub_length,
                   const std::string& marker) {
    Bytes b = program;
    b.insert(b.end(), document.begin(), document.end());
    append_i32(b, stub_length);
    append_text(b, marker);
    return b;
}

class Container : public ::testing::Test {
protected:
    int32_t base_of(const Bytes& bytes) {
        std::string path = dir_.file("viewer" + std::to_string(++count_) + ".exe");
        EXPECT_TRUE(write_file(path, bytes));
        return self_extract_base(path);
    }
    TempDir dir_;
    int count_ = 0;
};

TEST_F(Container, TrailerIsRecognisedOnlyWhenItFits) {
    const Bytes program = program_bytes(5000), doc = sample_document();
    const int32_t total = int32_t(program.size() + doc.size() + 21);

    EXPECT_EQ(base_of(with_trailer(program, doc, 5000, "VELL_SELF_EXTRACT")), 5000);
    EXPECT_EQ(base_of(program), 0);  // no trailer
    EXPECT_EQ(base_of(with_trailer(program, doc, 0, "VELL_SELF_EXTRACT")), 0);
    EXPECT_EQ(base_of(with_trailer(program, doc, -5000, "VELL_SELF_EXTRACT")), 0);
    EXPECT_EQ(base_of(with_trailer(program, doc, total + 1, "VELL_SELF_EXTRACT")), 0);
    EXPECT_EQ(base_of(with_trailer(program, doc, total, "VELL_SELF_EXTRACT")), total);
    EXPECT_EQ(base_of(Bytes{'V', 'E', 'L', 'L'}), 0);  // shorter than a trailer
    EXPECT_EQ(self_extract_base(dir_.file("missing.exe")), 0);
}

TEST_F(Container, MarkerIsComparedUpperCasedAndTrimmed) {
    const Bytes program = program_bytes(3000), doc = sample_document();
    EXPECT_EQ(base_of(with_trailer(program, doc, 3000, "vell_self_extract")), 3000);
    EXPECT_EQ(base_of(with_trailer(program, doc, 3000, "Vell_Self_Extract")), 3000);
    // The marker fills all 17 bytes, so blanks in them leave it incomplete.
    EXPECT_EQ(base_of(with_trailer(program, doc, 3000, "VELL_SELF_EXTRAC ")), 0);
    EXPECT_EQ(base_of(with_trailer(program, doc, 3000, " ELL_SELF_EXTRACT")), 0);
    // A blank after the marker moves it, and the stub length, out of place.
    EXPECT_EQ(base_of(with_trailer(program, doc, 3000, "VELL_SELF_EXTRACT ")), 0);
}

TEST_F(Container, BuiltContainerLayout) {
    const Bytes program = program_bytes(40000), doc = sample_document();
    const std::string stub = dir_.file("vell.exe"), input = dir_.file("in.vel"),
                      output = dir_.file("out.exe");
    ASSERT_TRUE(write_file(stub, program));
    ASSERT_TRUE(write_file(input, doc));

    ASSERT_EQ(build_self_extracting(input, stub, output), kBuildOk);
    Bytes built;
    ASSERT_TRUE(read_file(output, &built));
    ASSERT_EQ(built.size(), program.size() + doc.size() + 21);
    EXPECT_TRUE(std::equal(program.begin(), program.end(), built.begin()));

    // The header differs only in the embedded flag and the stub length.
    Bytes expected = doc;
    put_i16(expected.data(), expected.size(), hdr::kEmbedded, 1);
    put_i32(expected.data(), expected.size(), hdr::kStubLength, 40000);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), built.begin() + 40000));
    EXPECT_EQ(get_i32(built, built.size() - 21), 40000);
    EXPECT_EQ(std::string(built.end() - 17, built.end()), "VELL_SELF_EXTRACT");
    EXPECT_EQ(self_extract_base(output), 40000);
}

TEST_F(Container, BuiltContainerReadsAsThePlainDocument) {
    const std::string stub = dir_.file("vell.exe"), input = dir_.file("in.vel"),
                      output = dir_.file("out.exe");
    ASSERT_TRUE(write_file(stub, program_bytes(12345)));
    ASSERT_TRUE(write_file(input, sample_document()));
    ASSERT_EQ(build_self_extracting(input, stub, output), kBuildOk);

    Document plain, packed;
    auto open_as = [](Document& doc, const std::string& path, int32_t base) {
        ASSERT_TRUE(open_document(doc, path, base));
        ASSERT_EQ(read_header(doc), HeaderCheck::kDocument);
        read_page_index(doc);
        read_document_index(doc);
    };
    open_as(plain, input, 0);
    open_as(packed, output, self_extract_base(output));
    EXPECT_EQ(packed.base, 12345);
    EXPECT_EQ(header_i16(packed, hdr::kEmbedded), 1);
    EXPECT_EQ(document_title(packed), "Packed");
    EXPECT_EQ(packed.page_positions, plain.page_positions);
    ASSERT_EQ(packed.index.size(), 1u);
    EXPECT_EQ(packed.index[0].name, "Second");
    for (int p = 1; p <= 2; ++p) {
        load_page(plain, p);
        load_page(packed, p);
        EXPECT_FALSE(packed.page.empty());
        EXPECT_EQ(packed.page, plain.page) << "page " << p;
    }
}

TEST_F(Container, StatusesInTheirOrder) {
    const std::string stub = dir_.file("vell.exe"), input = dir_.file("in.vel"),
                      existing = dir_.file("existing.exe"), output = dir_.file("new.exe");
    const std::string missing = dir_.file("missing.vel"), no_dir = dir_.file("no/such/dir.exe");
    ASSERT_TRUE(write_file(stub, program_bytes(100)));
    ASSERT_TRUE(write_file(input, sample_document()));
    const Bytes old_content = {'o', 'l', 'd'};
    ASSERT_TRUE(write_file(existing, old_content));

    // -5 comes first, even when the output exists as well.
    EXPECT_EQ(build_self_extracting(missing, stub, existing), kBuildNoInput);
    // -4, and the existing file is left as it was; blanks around the output
    // path do not hide it.
    EXPECT_EQ(build_self_extracting(input, stub, existing), kBuildOutputExists);
    EXPECT_EQ(build_self_extracting(input, stub, "  " + existing + " "), kBuildOutputExists);
    Bytes now;
    ASSERT_TRUE(read_file(existing, &now));
    EXPECT_EQ(now, old_content);
    // -3: the trimmed input exists, but the path as given cannot be opened
    // here (this host keeps trailing blanks in file names); it comes before
    // the failing output.
    EXPECT_EQ(build_self_extracting(input + " ", stub, no_dir), kBuildNoInputOpen);
    // -2 before -1: the output cannot be created, the stub is missing too.
    EXPECT_EQ(build_self_extracting(input, dir_.file("no-stub.exe"), no_dir), kBuildNoOutput);
    // -1, and no half-made output is left behind.
    EXPECT_EQ(build_self_extracting(input, dir_.file("no-stub.exe"), output), kBuildNoStub);
    EXPECT_FALSE(file_exists(output));
    EXPECT_EQ(build_self_extracting(input, stub, output), kBuildOk);
    EXPECT_EQ(self_extract_base(output), 100);
}

}  // namespace
}  // namespace vell
