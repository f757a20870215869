// The document reader, on documents composed by the writer and stored in
// temporary files: well-formed documents, the same bytes behind a stub,
// malformed files, and the building messages.
#include <gtest/gtest.h>

#include <string>

#include "document/cipher.h"
#include "document/document.h"
#include "document_test_util.h"
#include "startup/startup.h"
#include "vel_writer.h"

namespace vell {
namespace {

using testing_document::TempDir;

// A page of exactly `size` bytes: a page header, then a filler that differs
// per page and per byte, so misplaced reads show.
Bytes sized_page(size_t size, uint8_t tag, int16_t paper_size) {
    Bytes page = PageBuilder(paper_size, 1, 4).bytes();
    while (page.size() < size) page.push_back(uint8_t(tag + page.size() * 7));
    page.resize(size);
    return page;
}

DocumentPlan sample_spec() {
    DocumentPlan s;
    s.title = "  Quarterly report ";
    s.delete_when_closed = 1;
    s.save_allowed = 1;
    s.initial_zoom = kZoom125;
    s.display_option = kDisplayShrink;
    s.copy_flag = 0;
    s.builder_window = 0x1234;
    s.password = "Open7Sesame";
    s.pages = {sized_page(100, 1, 9), sized_page(50, 2, 5)};
    s.index = {{2, "Totals"}, {1, ""}, {2, std::string(150, 'n')}, {1, "After long"}};
    s.has_email = true;
    s.email = {1, 0, "MS Exchange", "pw", "Ann;Bob", "ann@x;bob@y", "Report", "See attached."};
    s.has_fax = true;
    s.fax = {1, "Fax profile", "", "Carl@555-0100", "Fax subject", "Fax body"};
    s.labels = {{20, "Kennwort"}, {12, "Breite"}};
    return s;
}

Bytes file_bytes(const std::string& path) {
    Bytes b;
    EXPECT_TRUE(read_file(path, &b));
    return b;
}

class DocumentFile : public ::testing::Test {
protected:
    // Writes bytes to a fresh file and reads them in start-up's order: for a
    // document started with /BV the settings are not read.
    void open_bytes(const Bytes& bytes, int32_t base = 0, bool building = false) {
        path_ = dir_.file("doc" + std::to_string(++count_) + ".vel");
        ASSERT_TRUE(write_file(path_, bytes));
        doc_.building = building;
        ASSERT_TRUE(open_document(doc_, path_, base));
        doc_.validated = read_header(doc_) == HeaderCheck::kDocument;
        if (!building) read_settings(doc_);
        read_page_index(doc_);
        read_document_index(doc_);
    }
    void open_building(const Bytes& bytes) { open_bytes(bytes, 0, true); }

    TempDir dir_;
    std::string path_;
    int count_ = 0;
    Document doc_;
};

// ---- Well-formed documents -------------------------------------------------

TEST_F(DocumentFile, HeaderFieldsReadBack) {
    open_bytes(write_document(sample_spec()));
    EXPECT_TRUE(doc_.validated);
    EXPECT_EQ(document_title(doc_), "Quarterly report");
    EXPECT_EQ(header_i16(doc_, hdr::kDeleteWhenClosed), 1);
    EXPECT_EQ(header_i16(doc_, hdr::kSaveAllowed), 1);
    EXPECT_EQ(header_i32(doc_, hdr::kInitialZoom), kZoom125);
    EXPECT_EQ(header_i32(doc_, hdr::kDisplayOption), kDisplayShrink);
    EXPECT_EQ(header_i32(doc_, hdr::kBuilderWindow), 0x1234);
    EXPECT_EQ(page_count(doc_), 2);
    EXPECT_EQ(header_i32(doc_, hdr::kIndexCount), 4);
    EXPECT_FALSE(too_many_pages(doc_));
    // The stored password deciphers with itself.
    ASSERT_EQ(header_i16(doc_, hdr::kPasswordLength), 11);
    std::string stored(reinterpret_cast<const char*>(doc_.header + hdr::kPassword), 11);
    EXPECT_EQ(cipher(stored, "Open7Sesame"), "Open7Sesame");
}

TEST_F(DocumentFile, TitleOfHundredBytesIsWholeAndLeadingZeroIsEmpty) {
    DocumentPlan s;
    s.title = std::string(100, 'T');
    open_bytes(write_document(s));
    EXPECT_EQ(document_title(doc_), std::string(100, 'T'));

    s.title = std::string("\0Hidden", 7);
    open_bytes(write_document(s));
    EXPECT_EQ(document_title(doc_), "");
}

TEST_F(DocumentFile, WrongSignatureClearsTitle) {
    Bytes b = write_document(sample_spec());
    b[3] = 'B';  // "300B"
    open_bytes(b);
    EXPECT_FALSE(doc_.validated);
    EXPECT_EQ(read_header(doc_), HeaderCheck::kNotDocument);
    EXPECT_EQ(document_title(doc_), "");
}

TEST_F(DocumentFile, SettingsTextsAndAllowedFlags) {
    open_bytes(write_document(sample_spec()));  // allowed flags written as 0
    EXPECT_EQ(header_i16(doc_, hdr::kEmailAllowed), 1);
    EXPECT_EQ(header_i16(doc_, hdr::kFaxAllowed), 1);

    const EmailSettings& e = doc_.email;
    ASSERT_TRUE(e.present);
    EXPECT_EQ(e.show_dialog, 1);
    EXPECT_EQ(e.attach_as_viewer, 0);
    EXPECT_EQ(e.profile, "MS Exchange");
    EXPECT_EQ(e.password, "pw");
    EXPECT_EQ(e.names, "Ann;Bob");
    EXPECT_EQ(e.addresses, "ann@x;bob@y");
    EXPECT_EQ(e.subject, "Report");
    EXPECT_EQ(e.text, "See attached.");

    const FaxSettings& f = doc_.fax;
    ASSERT_TRUE(f.present);
    EXPECT_EQ(f.show_dialog, 1);
    EXPECT_EQ(f.profile, "Fax profile");
    EXPECT_EQ(f.password, "");  // length 0: nothing read, next text follows
    EXPECT_EQ(f.recipients, "Carl@555-0100");
    EXPECT_EQ(f.subject, "Fax subject");
    EXPECT_EQ(f.text, "Fax body");

    DocumentPlan plain;
    plain.email_allowed = 1;  // a flag written by the generator stays as is
    open_bytes(write_document(plain));
    EXPECT_FALSE(doc_.email.present);
    EXPECT_FALSE(doc_.fax.present);
    EXPECT_EQ(header_i16(doc_, hdr::kEmailAllowed), 1);
    EXPECT_EQ(header_i16(doc_, hdr::kFaxAllowed), 0);
}

TEST_F(DocumentFile, PageIndexAndPageBytes) {
    const DocumentPlan plan = sample_spec();
    open_bytes(write_document(plan));
    EXPECT_EQ(doc_.page_positions, (std::vector<int32_t>{261, 361}));
    EXPECT_EQ(header_i32(doc_, hdr::kPageIndexPos), 411);
    EXPECT_EQ(page_span(doc_, 1).length, 100);
    EXPECT_EQ(page_span(doc_, 2).position, 361);
    EXPECT_EQ(page_span(doc_, 2).length, 50);

    for (int p = 1; p <= 2; ++p) {
        load_page(doc_, p);
        EXPECT_EQ(doc_.page_number, p);
        EXPECT_EQ(doc_.page, plan.pages[size_t(p - 1)]);
    }
    PageHeader h = read_page_header(doc_, 1);
    EXPECT_EQ(h.paper_size, 9);
    EXPECT_EQ(h.orientation, 1);
    EXPECT_EQ(h.paper_source, 4);
    EXPECT_EQ(read_page_header(doc_, 2).paper_size, 5);

    // One page: its bytes run from its position to the page index position.
    DocumentPlan one;
    one.pages = {sized_page(77, 3, 1)};
    open_bytes(write_document(one));
    load_page(doc_, 1);
    EXPECT_EQ(doc_.page, one.pages[0]);

    // No pages: nothing is read at the page index position.
    open_bytes(write_document(DocumentPlan()));
    EXPECT_TRUE(doc_.page_positions.empty());
    load_page(doc_, 1);
    EXPECT_EQ(doc_.page_number, 0);
}

TEST_F(DocumentFile, DocumentIndexEntries) {
    open_bytes(write_document(sample_spec()));
    ASSERT_EQ(doc_.index.size(), 4u);
    EXPECT_EQ(doc_.index[0].page, 2);
    EXPECT_EQ(doc_.index[0].name, "Totals");
    EXPECT_EQ(doc_.index[1].page, 1);  // no name, still points at its page
    EXPECT_EQ(doc_.index[1].name, "");
    EXPECT_EQ(doc_.index[2].name, std::string(100, 'n'));  // 150 cut to 100
    // The rest of the long name is stepped over, not taken as the next entry.
    EXPECT_EQ(doc_.index[3].page, 1);
    EXPECT_EQ(doc_.index[3].name, "After long");
}

TEST_F(DocumentFile, LabelOverrides) {
    Bytes b = write_document(sample_spec());
    // A record at position 33 (file offset 32, inside the title field).
    const uint8_t record[] = {11, 0, 21, 0, 3, 0, 'a', 'b', 'c'};
    std::copy(std::begin(record), std::end(record), b.begin() + 32);
    open_bytes(b);

    bool found = false;
    EXPECT_EQ(read_label_override(doc_, header_i32(doc_, hdr::kLabel20), &found), "Kennwort");
    EXPECT_TRUE(found);
    EXPECT_EQ(read_label_override(doc_, header_i32(doc_, hdr::kLabel12), &found), "Breite");
    EXPECT_EQ(header_i32(doc_, hdr::kLabel21), 0);

    EXPECT_EQ(read_label_override(doc_, 33, &found), "abc");
    EXPECT_TRUE(found);
    EXPECT_EQ(read_label_override(doc_, 32, &found), "");
    EXPECT_FALSE(found);
}

TEST_F(DocumentFile, LoadOutOfRangeAndAlwaysFromTheFile) {
    open_bytes(write_document(sample_spec()));
    load_page(doc_, 1);
    load_page(doc_, 0);
    EXPECT_EQ(doc_.page_number, 0);
    EXPECT_TRUE(doc_.page.empty());
    uint8_t buf[4] = {9, 9, 9, 9};
    EXPECT_EQ(copy_page_bytes(doc_, 0, 4, buf), 0);
    load_page(doc_, 3);  // N + 1
    EXPECT_EQ(doc_.page_number, 0);

    // Loading a page reads it again even when it is the loaded one: the
    // generator may have rewritten it.
    load_page(doc_, 2);
    Bytes b = file_bytes(path_);
    b[360 + 20] = 0xEE;
    ASSERT_TRUE(write_file(path_, b));
    load_page(doc_, 2);
    EXPECT_EQ(doc_.page[20], 0xEE);
}

TEST_F(DocumentFile, CopyAndTextStayInsideThePage) {
    const DocumentPlan plan = sample_spec();
    open_bytes(write_document(plan));
    load_page(doc_, 2);  // 50 bytes
    const Bytes& page = plan.pages[1];

    uint8_t buf[8];
    EXPECT_EQ(copy_page_bytes(doc_, 12, 8, buf), 20);
    EXPECT_TRUE(std::equal(buf, buf + 8, page.begin() + 12));
    // Passing the end: the existing bytes, then zeros; the cursor moves on.
    EXPECT_EQ(copy_page_bytes(doc_, 46, 8, buf), 54);
    EXPECT_TRUE(std::equal(buf, buf + 4, page.begin() + 46));
    EXPECT_EQ(Bytes(buf + 4, buf + 8), Bytes(4, 0));
    // A negative count copies nothing and does not move the cursor back.
    buf[0] = 0x5A;
    EXPECT_EQ(copy_page_bytes(doc_, 30, -6, buf), 30);
    EXPECT_EQ(buf[0], 0x5A);

    EXPECT_EQ(page_text(doc_, 40, 20), std::string(page.begin() + 40, page.end()));
    EXPECT_EQ(page_text(doc_, 10, 0), "");
    EXPECT_EQ(page_text(doc_, 50, 5), "");
    EXPECT_EQ(page_text(doc_, -2, 4), std::string(page.begin(), page.begin() + 2));
}

// Everything the reader yields for a document, as one comparable string.
std::string everything_read(Document& doc) {
    std::string out(reinterpret_cast<const char*>(doc.header), kHeaderSize);
    for (int32_t p : doc.page_positions) out += std::to_string(p) + ",";
    for (const IndexEntry& e : doc.index) out += std::to_string(e.page) + e.name + ";";
    const EmailSettings& m = doc.email;
    out += m.profile + m.password + m.names + m.addresses + m.subject + m.text;
    const FaxSettings& f = doc.fax;
    out += f.profile + f.password + f.recipients + f.subject + f.text;
    for (int offset = hdr::kLabel20; offset <= hdr::kLabel12; offset += 4)
        out += read_label_override(doc, header_i32(doc, offset), nullptr) + "|";
    for (int p = 1; p <= page_count(doc); ++p) {
        load_page(doc, p);
        out += std::string(doc.page.begin(), doc.page.end());
        out += std::to_string(read_page_header(doc, p).paper_size);
    }
    return out;
}

TEST_F(DocumentFile, SameResultsBehindAStub) {
    Bytes plain = write_document(sample_spec());
    // A page index said to start before the document must not pick up the
    // stub's bytes either.
    Bytes stray = plain;
    put_i32(stray.data(), stray.size(), hdr::kPageIndexPos, -3);
    for (const Bytes& doc : {plain, stray}) {
        Bytes wrapped(40000);
        for (size_t i = 0; i < wrapped.size(); ++i) wrapped[i] = uint8_t(i * 13 + 5);
        wrapped.insert(wrapped.end(), doc.begin(), doc.end());
        open_bytes(doc);
        const std::string expected = everything_read(doc_);
        EXPECT_NE(expected.find("Kennwort|"), std::string::npos);
        open_bytes(wrapped, 40000);
        EXPECT_EQ(everything_read(doc_), expected);
    }
}

// ---- Malformed files -------------------------------------------------------

TEST_F(DocumentFile, ShortAndTruncatedFiles) {
    // A header shorter than 260 bytes: the rest reads as zeros.
    Bytes b = {'3', '0', '0', 'A', 0, 0, 0, 0, 0, 0, 'S', 'h', 'o', 'r', 't'};
    open_bytes(b);
    EXPECT_TRUE(doc_.validated);
    EXPECT_EQ(document_title(doc_), "Short");
    EXPECT_EQ(page_count(doc_), 0);
    EXPECT_TRUE(doc_.index.empty());
    EXPECT_FALSE(doc_.email.present);

    open_bytes(Bytes{'3', '0'});
    EXPECT_FALSE(doc_.validated);

    // Cut inside page 2: the page index is gone and reads as zeros, which
    // place no page inside the document.
    b = write_document(sample_spec());
    b.resize(380);
    open_bytes(b);
    EXPECT_EQ(doc_.page_positions, (std::vector<int32_t>{0, 0}));
    load_page(doc_, 1);
    EXPECT_EQ(doc_.page_number, 1);
    EXPECT_TRUE(doc_.page.empty());
    EXPECT_EQ(read_page_header(doc_, 1).paper_size, 0);
}

TEST_F(DocumentFile, NegativeAndHugeCountsAndLengths) {
    Bytes b = write_document(sample_spec());
    put_i32(b.data(), b.size(), hdr::kPageCount, -5);
    put_i32(b.data(), b.size(), hdr::kIndexCount, -1);
    open_bytes(b);
    EXPECT_EQ(page_count(doc_), 0);
    EXPECT_TRUE(doc_.page_positions.empty());
    EXPECT_TRUE(doc_.index.empty());

    // A huge index count stops at the end of the file: the four real
    // entries, then zero entries only up to the last byte.
    b = write_document(sample_spec());
    put_i32(b.data(), b.size(), hdr::kIndexCount, 0x7FFFFFFF);
    open_bytes(b);
    const size_t tail = b.size() - size_t(header_i32(doc_, hdr::kDocIndexPos) - 1);
    ASSERT_GE(doc_.index.size(), 4u);
    EXPECT_LE(doc_.index.size(), tail / 4 + 1);
    EXPECT_EQ(doc_.index[3].name, "After long");

    // Negative text lengths in the e-mail block read nothing, and the texts
    // after them are read from where the block's texts start.
    DocumentPlan s;
    s.has_email = true;
    s.email.names = "abc";
    b = write_document(s);
    const size_t email = size_t(get_i32(b, hdr::kEmailPos) - 1);
    put_i16(b.data(), b.size(), email + 10, -7);  // profile length
    open_bytes(b);
    EXPECT_EQ(doc_.email.profile, "");
    EXPECT_EQ(doc_.email.names, "abc");

    // A text that runs past the end of the file: what exists, then zeros.
    put_i16(b.data(), b.size(), email + 14, 10);
    open_bytes(b);
    EXPECT_EQ(doc_.email.names, std::string("abc\0\0\0\0\0\0\0", 10));
}

TEST_F(DocumentFile, PositionsOutsideTheFile) {
    Bytes b = write_document(sample_spec());
    put_i32(b.data(), b.size(), hdr::kEmailPos, 0x7FFFFF00);
    put_i32(b.data(), b.size(), hdr::kDocIndexPos, 0x7FFFFF00);
    put_i32(b.data(), b.size(), hdr::kLabel20, 0x7FFFFF00);
    open_bytes(b);
    EXPECT_TRUE(doc_.email.present);  // a block of zeros: no texts
    EXPECT_EQ(doc_.email.subject, "");
    EXPECT_TRUE(doc_.index.empty());
    bool found = false;
    EXPECT_EQ(read_label_override(doc_, header_i32(doc_, hdr::kLabel20), &found), "");
    EXPECT_TRUE(found);

    // The last page's end far past the file: only the bytes the file has.
    b = write_document(sample_spec());
    put_i32(b.data(), b.size(), hdr::kPageIndexPos, 0x7FFFFFFF);
    open_bytes(b);  // the page index now reads as zeros...
    doc_.page_positions = {261, 361};  // ...so put the real one back
    load_page(doc_, 2);
    EXPECT_EQ(doc_.page.size(), b.size() - 360);
    EXPECT_EQ(page_span(doc_, 2).length, 0x7FFFFFFF - 361);

    // Pages that start past the end of the file have no bytes.
    doc_.page_positions = {0x7FFFFF00, 0x7FFFFFF0};
    load_page(doc_, 1);
    EXPECT_EQ(doc_.page_number, 1);
    EXPECT_TRUE(doc_.page.empty());
    // A page that starts before the document's first byte is malformed.
    doc_.page_positions = {-100, 361};
    load_page(doc_, 1);
    EXPECT_TRUE(doc_.page.empty());
    EXPECT_EQ(read_page_header(doc_, 1).paper_size, 0);
}

TEST_F(DocumentFile, EndBeforeStartGivesAnEmptyPage) {
    Bytes b = write_document(sample_spec());
    const size_t index = 410;  // the page index, right after the pages
    put_i32(b.data(), b.size(), index, 361);
    put_i32(b.data(), b.size(), index + 4, 261);
    open_bytes(b);
    load_page(doc_, 1);
    EXPECT_EQ(doc_.page_number, 1);
    EXPECT_TRUE(doc_.page.empty());
    EXPECT_EQ(read_page_header(doc_, 1).paper_size, 0);
    load_page(doc_, 2);
    EXPECT_EQ(doc_.page.size(), 150u);  // 261 up to the page index at 411
}

TEST_F(DocumentFile, PageCountAboveTheLastPageNumber) {
    Bytes b = write_document(sample_spec());
    put_i32(b.data(), b.size(), hdr::kPageCount, 40000);
    open_bytes(b);
    EXPECT_TRUE(too_many_pages(doc_));
    EXPECT_EQ(page_count(doc_), kMaxPages);
    EXPECT_EQ(doc_.page_positions.size(), size_t(kMaxPages));
    EXPECT_EQ(doc_.page_positions[0], 261);
}

// ---- Building messages -----------------------------------------------------

TEST_F(DocumentFile, BuildingDocumentFollowsTheMessages) {
    DocumentPlan plan = sample_spec();
    plan.pages.push_back(sized_page(30, 3, 1));
    const Bytes full = write_document(plan);
    const int32_t pos[3] = {261, 361, 411};

    // What the generator has written so far: the header, pages up to `end`,
    // the header's page index position at the end of the newest page.
    auto written = [&](int32_t end, int16_t delete_flag) {
        Bytes b(full.begin(), full.begin() + (end - 1));
        put_i32(b.data(), b.size(), hdr::kPageCount, 0);
        put_i32(b.data(), b.size(), hdr::kPageIndexPos, end);
        put_i16(b.data(), b.size(), hdr::kDeleteWhenClosed, delete_flag);
        ASSERT_TRUE(write_file(path_, b));
    };

    open_building(Bytes(full.begin(), full.begin() + kHeaderSize));
    EXPECT_TRUE(doc_.page_positions.empty());
    EXPECT_TRUE(doc_.index.empty());

    written(361, 0);
    BuildingRefresh r = on_page_added(doc_, pos[0], 0);
    EXPECT_TRUE(r.make_first_current && r.redraw && r.status_and_toolbar);
    EXPECT_EQ(r.current_page, 1);
    EXPECT_EQ(page_count(doc_), 1);
    EXPECT_EQ(doc_.page, plan.pages[0]);

    // The page before the newest is reloaded; the header is read afresh.
    written(411, 1);
    doc_.page.clear();
    r = on_page_added(doc_, pos[1], 1);
    EXPECT_TRUE(r.reload_current && r.redraw);
    EXPECT_FALSE(r.make_first_current);
    EXPECT_EQ(page_count(doc_), 2);
    EXPECT_EQ(header_i16(doc_, hdr::kDeleteWhenClosed), 1);
    EXPECT_EQ(doc_.page, plan.pages[0]);

    // Two pages behind the newest: only the status changes.
    written(441, 1);
    doc_.page.clear();
    r = on_page_added(doc_, pos[2], 1);
    EXPECT_TRUE(r.status_and_toolbar);
    EXPECT_FALSE(r.reload_current || r.redraw);
    EXPECT_TRUE(doc_.page.empty());
    EXPECT_EQ(doc_.page_positions, (std::vector<int32_t>{261, 361, 411}));

    // Finished: the file's own indexes, the current page limited to N.
    ASSERT_TRUE(write_file(path_, full));
    r = on_building_finished(doc_, 7);
    EXPECT_TRUE(r.finished && r.redraw);
    EXPECT_EQ(r.current_page, 3);
    EXPECT_FALSE(doc_.building);
    EXPECT_EQ(doc_.index.size(), 4u);
    EXPECT_TRUE(doc_.email.present);
    EXPECT_EQ(doc_.page, plan.pages[2]);

    // Late messages change nothing.
    r = on_page_added(doc_, 500, 3);
    EXPECT_FALSE(r.status_and_toolbar);
    EXPECT_EQ(page_count(doc_), 3);
}

TEST_F(DocumentFile, FailedHeaderRereadWhileBuilding) {
    DocumentPlan plan = sample_spec();
    Bytes b = write_document(plan);
    open_building(b);
    ASSERT_TRUE(doc_.validated);

    // The generator's header is momentarily not a document: the header is
    // taken as read, its title dropped, start-up's verdict kept.
    b[0] = 'X';
    put_i16(b.data(), b.size(), hdr::kDeleteWhenClosed, 0);
    ASSERT_TRUE(write_file(path_, b));
    BuildingRefresh r = on_page_added(doc_, 261, 0);
    EXPECT_EQ(r.current_page, 1);
    EXPECT_TRUE(doc_.validated);
    EXPECT_EQ(document_title(doc_), "");
    EXPECT_EQ(header_i16(doc_, hdr::kDeleteWhenClosed), 0);
    EXPECT_EQ(page_count(doc_), 1);
}

TEST_F(DocumentFile, BuildingStopsAtTheLastPageNumber) {
    open_building(write_document(DocumentPlan()));
    for (int i = 0; i < kMaxPages; ++i) on_page_added(doc_, 261, 5);
    EXPECT_EQ(page_count(doc_), kMaxPages);
    BuildingRefresh r = on_page_added(doc_, 261, 5);
    EXPECT_FALSE(r.status_and_toolbar);
    EXPECT_EQ(doc_.pages_received, kMaxPages);
    EXPECT_EQ(doc_.page_positions.size(), size_t(kMaxPages));

    // Finishing an empty document: current page 0 selects no page.
    r = on_building_finished(doc_, 0);
    EXPECT_EQ(r.current_page, 0);
    EXPECT_EQ(doc_.page_number, 0);
}

TEST_F(DocumentFile, BeforeItsFirstPageABuildingDocumentHasNoPages) {
    // The generator has not written its page count yet; the header's field
    // holds an old value.
    Bytes b = write_document(sample_spec());
    put_i32(b.data(), b.size(), hdr::kPageCount, 12);
    open_building(b);
    EXPECT_EQ(page_count(doc_), 0);
    // The user went to some page meanwhile: the first page shows page 1.
    BuildingRefresh r = on_page_added(doc_, 261, 3);
    EXPECT_EQ(r.current_page, 1);
    EXPECT_TRUE(r.redraw);
    EXPECT_EQ(doc_.page_number, 1);
}

TEST_F(DocumentFile, ACopyStaysRestrictedThroughHeaderRereads) {
    DocumentPlan plan = sample_spec();
    plan.copy_flag = 1;
    open_building(write_document(plan));
    restrict_copied_document(doc_);
    on_page_added(doc_, 261, 1);
    EXPECT_EQ(header_i16(doc_, hdr::kSaveAllowed), 0);
    on_building_finished(doc_, 1);
    EXPECT_EQ(header_i16(doc_, hdr::kSaveAllowed), 0);
    EXPECT_EQ(header_i16(doc_, hdr::kEmailAllowed), 0);
    EXPECT_EQ(header_i16(doc_, hdr::kFaxAllowed), 0);
}

TEST(Writer, RefusesWhatTheFormatCannotHold) {
    DocumentPlan s;
    s.password = std::string(20, 'p');
    s.title = std::string(100, 't');
    s.index = {{1, std::string(32767, 'n')}};
    EXPECT_NO_THROW(write_document(s));
    for (auto spoil : std::initializer_list<void (*)(DocumentPlan&)>{
             [](DocumentPlan& d) { d.password += 'p'; },
             [](DocumentPlan& d) { d.title += 't'; },
             [](DocumentPlan& d) { d.index[0].name += 'n'; },
             [](DocumentPlan& d) { d.labels = {{13, "no slot"}}; },
             [](DocumentPlan& d) { d.has_fax = true, d.fax.text.assign(32768, 'f'); }}) {
        DocumentPlan bad = s;
        spoil(bad);
        EXPECT_THROW(write_document(bad), std::invalid_argument);
    }
    EXPECT_THROW(PageBuilder().aligned_text(0, 0, 0, std::string(32768, 'x')), std::invalid_argument);
}

TEST(BuildingMessageText, NumbersAreRoundedDownAndProgressLimited) {
    EXPECT_EQ(message_text_number("261"), 261);
    EXPECT_EQ(message_text_number("12.9"), 12);
    EXPECT_EQ(message_text_number("-3.5"), -4);
    EXPECT_EQ(progress_value("12.9"), 12);
    EXPECT_EQ(progress_value("-5"), 0);
    EXPECT_EQ(progress_value("250"), 100);
    EXPECT_EQ(progress_value(""), 0);
}

}  // namespace
}  // namespace vell
