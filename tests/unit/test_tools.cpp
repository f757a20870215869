// vellmake and velldump, run as the built programs: round trips of the
// samples and of a description with every record kind, refused inputs, the
// self-extracting output, and damaged files. The description of damaged
// files is also swept in-process, where thousands of cases stay fast.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "bitmap_file.h"
#include "command_test_util.h"
#include "document/cipher.h"
#include "document/document.h"
#include "document/format.h"
#include "document_dump.h"
#include "document_json.h"
#include "json_text.h"
#include "render/records.h"
#include "vel_writer.h"

namespace fs = std::filesystem;
using vell::Bytes;
using vell::json::Value;

namespace {

using vell::Outcome;
using vell::slurp;

Bytes bytes_of(const fs::path& path) {
    std::string s = slurp(path);
    return Bytes(s.begin(), s.end());
}

void put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
void put(const fs::path& path, const Bytes& b) { put(path, std::string(b.begin(), b.end())); }

class Tools : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vell-tools-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path file(const std::string& name) const { return dir_ / name; }

    static Outcome run(const std::string& tool, const std::string& args) {
        static int serial = 0;
        fs::path out = fs::temp_directory_path() / ("vell-run-" + std::to_string(getpid()) + "-" + std::to_string(++serial));
        return vell::run_command(std::string(VELL_BIN_DIR) + "/" + tool + " " + args, out);
    }

    static std::string q(const fs::path& p) { return "'" + p.string() + "'"; }

    // vellmake description -> document; fails the test on any complaint.
    Bytes make(const fs::path& description, const std::string& name) {
        Outcome r = run("vellmake", q(description) + " " + q(file(name)));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        return bytes_of(file(name));
    }

    static Value parse(const std::string& text) {
        vell::json::Parsed p;
        vell::json::ParseError e;
        EXPECT_TRUE(vell::json::parse(text, &p, &e)) << e.message;
        return p.root;
    }

    // Checks the round trip: the dump is sound, and vellmake turns it back
    // into the same bytes, whose dump is the same text again.
    void expect_round_trip(const fs::path& document, const std::string& name) {
        Outcome dump = run("velldump", q(document));
        ASSERT_EQ(dump.status, 0) << dump.out;
        Value v = parse(dump.out);
        ASSERT_TRUE(v.contains("problems"));
        EXPECT_EQ(v.at("problems").size(), 0u) << dump.out;
        EXPECT_FALSE(v.contains("notes")) << dump.out;
        put(file(name + ".dump.json"), dump.out);
        Bytes again = make(file(name + ".dump.json"), name + ".again.vel");
        Bytes original = bytes_of(document);
        const int32_t base = v.at("base").get<int32_t>();
        if (base > 0) original = Bytes(original.begin() + base, original.end() - vell::kTrailerSize);
        EXPECT_TRUE(again == original) << name;
        // The same description again, apart from where the document started.
        v["base"] = 0;
        EXPECT_TRUE(run("velldump", q(file(name + ".again.vel"))).out == vell::json::write(v))
            << name << ": the description of the document made again differs";
    }

    fs::path dir_;
};

// Every page's records, decoded independently of the tools.
std::vector<vell::PageRecord> records_of(const fs::path& path) {
    vell::Document doc;
    EXPECT_TRUE(vell::open_document(doc, path.string(), 0));
    vell::read_header(doc);
    vell::read_page_index(doc);
    std::vector<vell::PageRecord> all;
    for (int32_t p = 1; p <= vell::page_count(doc); ++p) {
        vell::load_page(doc, p);
        size_t offset = vell::kPageRecordsOffset;
        vell::PageRecord r;
        for (;;) {
            vell::Decoded d = vell::decode_record(doc.page.data(), doc.page.size(), offset, &r);
            if (d == vell::Decoded::kEndOfPage && offset < doc.page.size()) all.push_back(r);
            if (d != vell::Decoded::kRecord) break;
            all.push_back(r);
            offset = r.next;
        }
    }
    return all;
}

TEST_F(Tools, EverySampleRoundTrips) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(VELL_SOURCE_DIR) / "samples")) {
        if (entry.path().extension() != ".json") continue;
        std::string name = entry.path().stem().string();
        names.insert(name);
        make(entry.path(), name + ".vel");
        expect_round_trip(file(name + ".vel"), name);
    }
    EXPECT_TRUE(names.count("invoice"));
    // The invoice is the report the viewer opens by default: several pages
    // and a document index.
    Value invoice = parse(run("velldump", q(file("invoice.vel"))).out);
    double pages = invoice.at("header").at("pageCount").get<double>();
    EXPECT_GE(pages, 3);
    EXPECT_LE(pages, 5);
    EXPECT_GT(invoice.at("index").size(), 0u);
}

// A description with every record kind, every header field and every
// source of picture data, checked against an independent decoding.
TEST_F(Tools, EveryRecordKindIsWrittenAsDescribed) {
    Bytes bitmap = vell::make_bitmap(5, 3, vell::BitmapPattern::kSolid, 0x123456);
    put(file("logo.bmp"), bitmap);
    put(file("every.json"), R"({
  "header": {"title": "Caf\u00e9", "deleteWhenClosed": true, "faxAllowed": 1, "emailAllowed": false,
             "saveAllowed": true, "initialZoom": "125%", "displayOption": "shrink", "copyFlag": 3,
             "builderWindow": 66000, "password": "Secret7"},
  "pages": [
    {"paperSize": 9, "orientation": "landscape", "source": 4, "leadingWord": 77, "reservedWords": [1, -2],
     "records": [
      {"kind": "font", "face": "Arial", "size": 12.5, "style": ["bold", "underline"], "colour": "#FF8000"},
      {"kind": "text", "x": 1.25, "y": 2, "align": "decimal", "text": "12.50 \u00e9"},
      {"kind": "rotatedText", "x": 3.4028235e38, "y": "NaN", "angle": -90, "text": "up"},
      {"kind": "pageNumber", "x": 1, "y": 1, "align": "centre", "angle": 45},
      {"kind": "line", "x1": 0, "y1": 0, "x2": 8.5, "y2": 11, "width": 0.25, "colour": 255},
      {"kind": "box", "x1": 1, "y1": 1, "x2": 2, "y2": 2, "borderWidth": -1, "fill": "#0000FF", "borderColour": "#00FF00"},
      {"kind": "pictureFile", "x1": 1, "y1": 1, "x2": 2, "y2": 2, "path": "C:\\pics\\a.bmp"},
      {"kind": "pageTotal", "x": 3, "y": 4, "align": 7, "angle": 0},
      {"kind": "windowLabel", "label": 6, "text": "Weiter"},
      {"kind": "embeddedPicture", "x1": 1, "y1": 1, "x2": 3, "y2": 2, "file": "logo.bmp"},
      {"kind": "embeddedPicture", "x1": 1, "y1": 1, "x2": 3, "y2": 2, "generate": {"width": 5, "height": 3}},
      {"kind": "reserved", "block": "0102030405060708090A0B0C0D0E0F1011121314"},
      {"kind": "settings", "texts": ["a", "", "ccc"]},
      {"kind": 15, "texts": []},
      {"kind": "boxedText", "x": 5, "y": 1, "width": 1, "align": "right", "text": "boxed"},
      {"kind": "wrappedText", "left": 1, "top": 2, "right": 3, "bottom": 4, "text": "wrap\r\nme"},
      {"kind": "raw", "hex": "0D00)" + std::string(40, '0') + R"("},
      {"kind": "end", "opcode": 9}
    ]},
    {"records": [{"kind": 1}]}
  ],
  "index": [{"page": 2, "name": "Second"}, {"page": 1, "name": ""}],
  "email": {"showDialog": true, "attachAsViewer": 0, "subject": "S", "text": "T"},
  "fax": {"recipients": "FAX:A@1"},
  "labels": [{"label": 23, "text": "No"}, {"label": 11, "text": "Ganz"}]
})");
    make(file("every.json"), "every.vel");

    std::vector<vell::PageRecord> records = records_of(file("every.vel"));
    std::set<int> opcodes;
    for (const vell::PageRecord& r : records) opcodes.insert(r.opcode);
    for (int op = 1; op <= 17; ++op) EXPECT_TRUE(opcodes.count(op)) << "opcode " << op;

    auto first = [&](int16_t op) {
        return *std::find_if(records.begin(), records.end(), [&](const vell::PageRecord& r) { return r.opcode == op; });
    };
    EXPECT_EQ(first(vell::kOpFont).colour, 0x000080FFu);  // red 0xFF in the lowest byte
    EXPECT_EQ(first(vell::kOpFont).style, 5);
    EXPECT_EQ(first(vell::kOpAlignedText).data, "12.50 \xE9");
    EXPECT_EQ(first(vell::kOpAlignedText).alignment, 3);
    EXPECT_EQ(first(vell::kOpBox).fill_colour, 0x00FF0000u);
    EXPECT_EQ(first(vell::kOpBox).border_colour, 0x0000FF00u);
    EXPECT_EQ(first(vell::kOpPictureFile).data, "C:\\pics\\a.bmp");
    EXPECT_EQ(first(vell::kOpEmbeddedPicture).data, std::string(bitmap.begin(), bitmap.end()));
    // 5 pixels of 3 bytes take 16 bytes a row once padded.
    EXPECT_EQ(records[size_t(std::find_if(records.begin(), records.end(), [](const vell::PageRecord& r) {
                                 return r.opcode == vell::kOpEmbeddedPicture;
                             }) - records.begin()) + 1].declared_length, 54 + 3 * 16);
    EXPECT_EQ(first(vell::kOpSettings14).settings_texts[2], "ccc");
    EXPECT_EQ(first(vell::kOpEndOfPage2).opcode, 9);

    vell::Document doc;
    ASSERT_TRUE(vell::open_document(doc, file("every.vel").string(), 0));
    vell::read_header(doc);
    EXPECT_EQ(vell::header_i16(doc, vell::hdr::kPasswordLength), 7);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(doc.header) + vell::hdr::kPassword, 7),
              vell::cipher("Secret7", "Secret7"));
    EXPECT_EQ(vell::header_i32(doc, vell::hdr::kInitialZoom), vell::kZoom125);
    EXPECT_EQ(vell::header_i32(doc, vell::hdr::kBuilderWindow), 66000);
    bool found = false;
    EXPECT_EQ(vell::read_label_override(doc, vell::header_i32(doc, vell::hdr::kLabel11), &found), "Ganz");
    vell::read_page_index(doc);
    EXPECT_EQ(vell::read_page_header(doc, 1).paper_size, 9);
    EXPECT_EQ(vell::read_page_header(doc, 1).reserved2, -2);

    expect_round_trip(file("every.vel"), "every");
}

TEST_F(Tools, BadDescriptionsNameThePlaceAndWriteNothing) {
    struct Case {
        std::string body;  // the value of "pages" unless it starts with '{'
        std::string place, path, cause;
    };
    const std::string page = "[{\"records\": [\n  {\"kind\": \"end\"},\n  ";
    const Case cases[] = {
        {"[{\"records\": [}", "1:25", "", "unexpected '}'"},
        {page + "{\"kind\": \"circle\"}]}]", "3:12", "pages[0].records[1].kind", "unknown record kind"},
        {page + "{\"kind\": \"font\", \"face\": \"Arial\", \"size\": \"big\"}]}]", "3:45", "pages[0].records[1].size",
         "expected a number"},
        {page + "{\"kind\": \"text\", \"x\": 1e39, \"y\": 0, \"text\": \"\"}]}]", "3:25", "pages[0].records[1].x",
         "too large"},
        {page + "{\"kind\": \"rotatedText\", \"x\": 1, \"y\": 0, \"angle\": 1.5, \"text\": \"\"}]}]", "",
         "pages[0].records[1].angle", "not a whole number"},
        {page + "{\"kind\": \"line\", \"x1\": 0, \"y1\": 0, \"x2\": 1, \"y2\": 1, \"color\": 0}]}]", "",
         "pages[0].records[1].color", "unknown member"},
        {page + "{\"kind\": \"embeddedPicture\", \"x1\": 0, \"y1\": 0, \"x2\": 1, \"y2\": 1, \"file\": \"none.bmp\"}]}]",
         "", "pages[0].records[1].file", "cannot read the bitmap file"},
        {page + "{\"kind\": \"raw\", \"hex\": \"0G\"}]}]", "", "pages[0].records[1].hex", "hexadecimal digit"},
        {page + "{\"kind\": \"line\", \"hex\": \"0600\"}]}]", "", "pages[0].records[1].hex", "opcode 5"},
        {page + "{\"kind\": \"text\", \"x\": 0, \"y\": 0, \"text\": \"\\u20ac\"}]}]", "3:45", "", "U+20AC"},
        {"[{\"paperSize\": \"A4\"}]", "1:26", "pages[0].paperSize", "expected a whole number"},
        {"[{\"source\": 40000}]", "", "pages[0].source", "out of range"},
        {"{\"header\": {\"password\": \"123456789012345678901\"}}", "", "header.password", "at most 20"},
        {"{\"header\": {\"password\": \" pw\"}}", "", "header.password", "could never be entered"},
        {"{\"header\": {\"title\": \"" + std::string(101, 't') + "\"}}", "", "header.title", "101 bytes"},
        {"{\"header\": {\"initialZoom\": \"50%\"}}", "", "header.initialZoom", "unknown name"},
        {"{\"pages\": [{}], \"index\": [{\"page\": 40000}]}", "", "index[0].page", "out of range"},
        {"{\"pages\": [{}], \"index\": [{\"page\": 2}]}", "", "index[0].page", "not a page of this document"},
        {"{\"labels\": [{\"label\": 13, \"text\": \"x\"}]}", "", "labels[0].label", "cannot be replaced"},
        {"{\"colour\": \"#FF0000\"}", "1:12", "colour", "unknown member"},
    };
    put(file("out.vel"), std::string("an older document"));
    for (const Case& c : cases) {
        std::string text = c.body[0] == '{' ? c.body : "{\"pages\": " + c.body + "}";
        put(file("bad.json"), text);
        Outcome r = run("vellmake", q(file("bad.json")) + " " + q(file("new.vel")));
        EXPECT_EQ(r.status, 1) << text;
        std::string head = file("bad.json").string() + ":" + c.place;
        EXPECT_EQ(r.err.compare(0, head.size(), head), 0) << r.err;
        if (!c.path.empty()) {
            EXPECT_NE(r.err.find(": " + c.path + ": "), std::string::npos) << r.err;
        }
        EXPECT_NE(r.err.find(c.cause), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(file("new.vel"))) << text;
        // An existing output stays as it was.
        Outcome over = run("vellmake", q(file("bad.json")) + " " + q(file("out.vel")));
        EXPECT_EQ(over.status, 1);
        EXPECT_EQ(slurp(file("out.vel")), "an older document");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);  // no leftovers

    EXPECT_EQ(run("vellmake", q(file("missing.json")) + " " + q(file("new.vel"))).status, 1);
    EXPECT_EQ(run("vellmake", q(file("bad.json"))).status, 1);
    EXPECT_FALSE(fs::exists(file("new.vel")));
}

TEST_F(Tools, ExeOptionWrapsTheDocumentIntoASelfExtractingViewer) {
    std::string stub(5000, '\0');
    for (size_t i = 0; i < stub.size(); ++i) stub[i] = char(i * 7);
    put(file("vell.exe"), stub);
    put(file("doc.json"), "{\"header\": {\"title\": \"Boxed\", \"saveAllowed\": true}, \"pages\": [{}]}");
    Bytes plain = make(file("doc.json"), "doc.vel");

    Outcome r = run("vellmake", q(file("doc.json")) + " " + q(file("doc.exe")) + " --exe " + q(file("vell.exe")));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string exe = slurp(file("doc.exe"));
    EXPECT_EQ(exe.substr(0, stub.size()), stub);
    EXPECT_EQ(exe.substr(exe.size() - 17), "VELL_SELF_EXTRACT");
    EXPECT_EQ(exe.size(), stub.size() + plain.size() + 21);

    Value dump = parse(run("velldump", q(file("doc.exe"))).out);
    EXPECT_EQ(dump.at("base").get<int>(), 5000);
    EXPECT_TRUE(dump.at("header").at("embedded").get<bool>());
    EXPECT_EQ(dump.at("header").at("stubLength").get<int>(), 5000);
    expect_round_trip(file("doc.exe"), "doc-exe");

    Outcome missing = run("vellmake", q(file("doc.json")) + " " + q(file("x.exe")) + " --exe " + q(file("none.exe")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("stub"), std::string::npos);
    EXPECT_FALSE(fs::exists(file("x.exe")));
}

// ---- Damaged and foreign files ------------------------------------------------

Bytes sample_document() {
    vell::DocumentPlan plan;
    plan.title = "Damage";
    plan.pages.push_back(vell::PageBuilder().aligned_text(1, 1, 0, "one").line(0, 0, 1, 1, 1, 0).end_of_page().bytes());
    plan.pages.push_back(vell::PageBuilder(9, 1).font(1, 10, 0, "Arial").boxed_text(1, 1, 2, 0, "two").bytes());
    plan.index = {{1, "First"}, {2, "Second"}};
    plan.has_email = true;
    plan.email.subject = "Mail";
    plan.labels = {{20, "Kennwort"}};
    return vell::write_document(plan);
}

bool has_problem(const Value& v, const std::string& words) {
    if (!v.contains("problems")) return false;
    for (const Value& p : v.at("problems"))
        if (p.get<std::string>().find(words) != std::string::npos) return true;
    return false;
}

TEST_F(Tools, DamagedFilesAreDescribedWithTheirProblems) {
    const Bytes good = sample_document();
    auto damaged = [&](const std::string& name, void (*change)(Bytes&)) {
        Bytes b = good;
        change(b);
        put(file(name), b);
        Outcome r = run("velldump", q(file(name)));
        EXPECT_EQ(r.status, 2) << name << "\n" << r.out;
        return parse(r.out);
    };
    using vell::put_i32;
    Value v = damaged("index-past-end.vel", [](Bytes& b) { put_i32(b.data(), b.size(), vell::hdr::kPageIndexPos, 100000); });
    EXPECT_TRUE(has_problem(v, "page index (2 entries at position 100000) runs past the end")) << vell::json::write(v);
    v = damaged("backwards.vel", [](Bytes& b) {
        int32_t index = vell::get_i32(b, vell::hdr::kPageIndexPos);
        put_i32(b.data(), b.size(), size_t(index - 1 + 4), 250);  // page 2 now starts in the header
    });
    EXPECT_TRUE(has_problem(v, "page 1 ends before it starts")) << vell::json::write(v);
    EXPECT_TRUE(has_problem(v, "page 2 starts at position 250"));
    v = damaged("opcode.vel", [](Bytes& b) { vell::put_i16(b.data(), b.size(), 260 + 12 + 17, 18); });
    EXPECT_EQ(v.at("pages").at(0).at("end").get<std::string>(), "unknown opcode 18 at offset 29");
    EXPECT_EQ(v.at("pages").at(0).at("records").at(0).at("text").get<std::string>(), "one");
    v = damaged("counts.vel", [](Bytes& b) {
        put_i32(b.data(), b.size(), vell::hdr::kIndexCount, 0x7FFFFFFF);
        put_i32(b.data(), b.size(), vell::hdr::kPageCount, 40000);
    });
    EXPECT_TRUE(has_problem(v, "document index")) << vell::json::write(v);
    EXPECT_TRUE(has_problem(v, "page count 40000"));
    v = damaged("not-a-document.vel", [](Bytes& b) { b[0] = 'M'; });
    EXPECT_TRUE(has_problem(v, "not a vell document"));

    Outcome missing = run("velldump", q(file("nothing.vel")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
}

// Bytes nothing reads and non-zero reserved fields are kept exactly, so even
// a foreign document comes back byte for byte; a difference the description
// cannot hold is named in a note.
TEST_F(Tools, ForeignDetailsSurviveTheRoundTripOrAreNoted) {
    Bytes line_with_reserved = {5, 0};
    for (int i = 0; i < 20; ++i) line_with_reserved.push_back(0);
    line_with_reserved.insert(line_with_reserved.end(), {7, 0, 0xFF, 0, 0, 0});  // reserved word 7
    vell::DocumentPlan plan;
    plan.pages.push_back(vell::PageBuilder().raw(line_with_reserved).end_of_page().raw({1, 2, 3}).bytes());
    plan.pages.push_back(vell::PageBuilder().aligned_text(1, 1, 0, "x").raw({42}).bytes());
    put(file("foreign.vel"), vell::write_document(plan));
    expect_round_trip(file("foreign.vel"), "foreign");
    Value v = parse(run("velldump", q(file("foreign.vel"))).out);
    const Value& records = v.at("pages").at(0).at("records");
    EXPECT_EQ(records.at(0).at("kind").get<std::string>(), "line");
    EXPECT_TRUE(records.at(0).contains("hex"));
    EXPECT_EQ(records.at(2).at("hex").get<std::string>(), "010203");

    Bytes odd = vell::write_document(plan);
    odd[5] = 1;  // a reserved header byte
    put(file("odd.vel"), odd);
    Outcome r = run("velldump", q(file("odd.vel")));
    EXPECT_EQ(r.status, 0);
    Value noted = parse(r.out);
    ASSERT_TRUE(noted.contains("notes"));
    EXPECT_NE(noted.at("notes").at(0).get<std::string>().find("position 6, in the header"), std::string::npos);
}

// Every cut of a document and random damage: the description always comes
// out, is valid JSON, and names a problem whenever bytes are missing.
TEST(ToolsDump, TruncatedAndRandomFilesNeverBreakTheDump) {
    const Bytes good = sample_document();
    const fs::path path = fs::temp_directory_path() / ("vell-dump-sweep-" + std::to_string(getpid()) + ".vel");
    for (size_t cut = 0; cut < good.size(); ++cut) {
        put(path, Bytes(good.begin(), good.begin() + long(cut)));
        vell::DumpResult d = vell::dump_document(path.string());
        ASSERT_TRUE(d.opened);
        EXPECT_GT(d.problems, 0u) << "cut at " << cut;
        vell::json::Parsed back;
        vell::json::ParseError e;
        EXPECT_TRUE(vell::json::parse(vell::json::write(d.description), &back, &e)) << cut;
    }
    std::mt19937 random(2024);
    for (int round = 0; round < 1500; ++round) {
        Bytes b = good;
        int changes = 1 + int(random() % 8);
        for (int k = 0; k < changes; ++k) {
            size_t at = random() % b.size();
            // Mostly header fields and positions, where damage reaches furthest.
            if (random() % 2) at = random() % vell::kHeaderSize;
            b[at] = uint8_t(random());
        }
        if (random() % 4 == 0) b.resize(random() % b.size());
        put(path, b);
        vell::DumpResult d = vell::dump_document(path.string());
        ASSERT_TRUE(d.opened);
        std::string text = vell::json::write(d.description);
        vell::json::Parsed back;
        vell::json::ParseError e;
        ASSERT_TRUE(vell::json::parse(text, &back, &e)) << round;
    }
    fs::remove(path);
}

// Random edits of a description are either refused with a place or
// compiled into a document whose description is sound.
TEST(ToolsMake, EditedDescriptionsAreRefusedOrCompiled) {
    const std::string original = slurp(fs::path(VELL_SOURCE_DIR) / "samples" / "all-records.json");
    const char alphabet[] = "{}[]\",:0123456789.-eE\\u tfnlrx";
    const fs::path path = fs::temp_directory_path() / ("vell-make-edits-" + std::to_string(getpid()) + ".vel");
    std::mt19937 random(99);
    int compiled = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = original;
        for (int k = 1 + int(random() % 3); k > 0; --k) text[random() % text.size()] = alphabet[random() % (sizeof alphabet - 1)];
        vell::json::Parsed parsed;
        vell::json::ParseError e;
        if (!vell::json::parse(text, &parsed, &e)) {
            EXPECT_GT(e.where.line, 0);
            continue;
        }
        try {
            put(path, vell::compile_document(parsed.root, &parsed.places, "", nullptr));
            ++compiled;
            vell::DumpResult d = vell::dump_document(path.string());
            EXPECT_EQ(d.problems, 0u) << text;
            EXPECT_FALSE(d.description.contains("notes")) << vell::json::write(d.description);
        } catch (const vell::DescriptionError& d) {
            EXPECT_FALSE(d.message.empty());
            EXPECT_GT(d.where.line, 0) << d.message;
        }
    }
    EXPECT_GT(compiled, 0);
    fs::remove(path);
}

}  // namespace
