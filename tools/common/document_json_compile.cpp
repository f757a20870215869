// Compiles a document description into document bytes through the writer.
//
// Every value is checked here, with its place in the description, before
// the writer sees it; the writer's own refusals (std::invalid_argument) are
// turned into description errors as a second line of defence.
#include <cstring>
#include <filesystem>
#include <set>
#include <stdexcept>

#include "bitmap_file.h"
#include "document_json.h"
#include "document/format.h"

namespace vell {

namespace {

constexpr size_t kMaxText = 32767;  // every variable text carries an i16 length
constexpr uint32_t kDefaultPictureColour = 0x00794E1F;  // "#1F4E79", a dark blue

// Members that velldump writes for its reader and that the compiler does not
// need: it computes them itself.
const std::vector<const char*> kDumpOnlyTop = {"base", "documentLength", "problems", "notes"};
const std::vector<const char*> kDumpOnlyHeader = {
    "pageCount",     "indexCount",          "pageIndexPosition",     "documentIndexPosition",
    "passwordLength", "faxSettingsPosition", "emailSettingsPosition", "labelOverridePositions"};
const std::vector<const char*> kDumpOnlyPage = {"number", "position", "length", "end"};

std::vector<const char*> joined(std::vector<const char*> a, const std::vector<const char*>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

int16_t flag16(const Field& f) {
    if (f.value().is_boolean()) return f.value().get<bool>() ? 1 : 0;
    if (!f.value().is_number()) f.fail("expected true, false or a number");
    return f.i16();
}

int16_t alignment(const Field& f) {
    return int16_t(f.named({{"left", 0}, {"centre", 1}, {"center", 1}, {"right", 2}, {"decimal", 3}},
                           INT16_MIN, INT16_MAX));
}

int16_t style_bit(const Field& f) {
    return int16_t(f.named({{"bold", 1}, {"italic", 2}, {"underline", 4}, {"strikeout", 8}}, INT16_MIN,
                           INT16_MAX));
}

// A style is a number, one name, or an array of names.
int16_t style(const Field& f) {
    if (!f.value().is_array()) return style_bit(f);
    int bits = 0;
    for (size_t i = 0; i < f.count(); ++i) {
        Field item = f.item(i);
        if (!item.value().is_string()) item.fail("expected a style name");
        bits |= style_bit(item);
    }
    return int16_t(bits);
}

float real_or(const Field& r, const char* key, float fallback) {
    return r.has(key) ? r[key].real() : fallback;
}

uint32_t colour_or(const Field& r, const char* key, uint32_t fallback) {
    return r.has(key) ? r[key].colour() : fallback;
}

int16_t alignment_or(const Field& r, const char* key) { return r.has(key) ? alignment(r[key]) : 0; }
int16_t i16_or(const Field& r, const char* key, int16_t fallback) { return r.has(key) ? r[key].i16() : fallback; }

std::string text(const Field& r, const char* key) { return r[key].text(kMaxText); }

Bytes generated_picture(const Field& g) {
    g.keys({"width", "height", "pattern", "colour"});
    int32_t width = int32_t(g["width"].integer(1, kMaxGeneratedBitmapSide));
    int32_t height = int32_t(g["height"].integer(1, kMaxGeneratedBitmapSide));
    BitmapPattern pattern = BitmapPattern::kGradient;
    if (g.has("pattern")) {
        std::string name = g["pattern"].text(16);
        if (name == "checker") pattern = BitmapPattern::kChecker;
        else if (name == "solid") pattern = BitmapPattern::kSolid;
        else if (name != "gradient")
            g["pattern"].fail("unknown pattern " + json::quote(name) +
                              "; use \"gradient\", \"checker\" or \"solid\"");
    }
    return make_bitmap(width, height, pattern, colour_or(g, "colour", kDefaultPictureColour));
}

// The bitmap file of an embedded picture, from exactly one of its sources.
Bytes picture_data(const Field& r, const std::string& base_dir) {
    int sources = int(r.has("file")) + int(r.has("generate")) + int(r.has("data"));
    if (sources != 1) r.fail("an embedded picture takes exactly one of \"file\", \"generate\" and \"data\"");
    Bytes data;
    if (r.has("file")) {
        Field file = r["file"];
        std::filesystem::path path = std::filesystem::path(file.text(4096));
        if (path.is_relative() && !base_dir.empty()) path = std::filesystem::path(base_dir) / path;
        if (!read_file(path.string(), &data)) file.fail("cannot read the bitmap file " + json::quote(path.string()));
        if (!looks_like_bitmap(data))
            file.fail(json::quote(path.string()) + " is not a Windows bitmap (it does not start with \"BM\")");
    } else if (r.has("generate")) {
        data = generated_picture(r["generate"]);
    } else {
        data = r["data"].base64();
    }
    if (r.has("size") && r["size"].integer(0, INT32_MAX) != int64_t(data.size()))
        r["size"].fail("does not match the " + std::to_string(data.size()) + " bytes of the picture");
    return data;
}

struct KindInfo {
    const char* name;
    int16_t opcode;  // the default opcode of the kind; 0 for raw bytes
    std::vector<const char*> members;
};

const std::vector<KindInfo>& kinds() {
    static const std::vector<KindInfo> table = {
        {"end", kOpEndOfPage, {"opcode"}},
        {"text", kOpAlignedText, {"x", "y", "align", "text"}},
        {"rotatedText", kOpRotatedText, {"x", "y", "angle", "text"}},
        {"pageNumber", kOpPageNumber, {"x", "y", "align", "angle"}},
        {"line", kOpLine, {"x1", "y1", "x2", "y2", "width", "colour"}},
        {"box", kOpBox, {"x1", "y1", "x2", "y2", "borderWidth", "fill", "borderColour"}},
        {"font", kOpFont, {"face", "size", "style", "colour"}},
        {"pictureFile", kOpPictureFile, {"x1", "y1", "x2", "y2", "path"}},
        {"pageTotal", kOpPageTotal, {"x", "y", "align", "angle"}},
        {"windowLabel", kOpWindowLabel, {"label", "text"}},
        {"embeddedPicture", kOpEmbeddedPicture,
         {"x1", "y1", "x2", "y2", "file", "generate", "data", "size", "image"}},
        {"reserved", kOpReserved, {"block"}},
        {"settings", kOpSettings14, {"opcode", "texts"}},
        {"boxedText", kOpBoxedText, {"x", "y", "width", "align", "text"}},
        {"wrappedText", kOpWrappedText, {"left", "top", "right", "bottom", "text"}},
        {"raw", 0, {}},
    };
    return table;
}

// The kind a record names: "kind" is a name, or an opcode from 1 to 17.
const KindInfo& resolve_kind(const Field& kind, int16_t* opcode) {
    std::string name;
    *opcode = 0;
    if (kind.value().is_number()) {
        *opcode = int16_t(kind.integer(1, 17));
        name = record_kind_name(*opcode);
    } else {
        name = kind.text(32);
    }
    for (const KindInfo& k : kinds()) {
        if (name != k.name) continue;
        if (*opcode == 0) *opcode = k.opcode;
        return k;
    }
    std::string list;
    for (const KindInfo& k : kinds()) list += std::string(list.empty() ? "" : ", ") + k.name;
    kind.fail("unknown record kind " + json::quote(name) + "; the kinds are: " + list +
              " (or an opcode from 1 to 17)");
}

// End records take opcode 1 or 9, settings records 14 or 15.
int16_t chosen_opcode(const Field& r, const KindInfo& kind, int16_t opcode) {
    if (!r.has("opcode")) return opcode;
    Field f = r["opcode"];
    int16_t wanted = f.i16();
    bool ok = kind.opcode == kOpEndOfPage ? (wanted == kOpEndOfPage || wanted == kOpEndOfPage2)
                                          : (wanted == kOpSettings14 || wanted == kOpSettings15);
    bool numbered = r["kind"].value().is_number();
    if (!ok || (numbered && wanted != opcode))
        f.fail("opcode " + std::to_string(wanted) + " is not one of this kind's");
    return wanted;
}

void compile_fields(const Field& r, int16_t opcode, const std::string& base_dir, PageBuilder& page) {
    switch (opcode) {
    case kOpEndOfPage:
    case kOpEndOfPage2:
        page.end_of_page(opcode);
        break;
    case kOpAlignedText:
        page.aligned_text(r["x"].real(), r["y"].real(), alignment_or(r, "align"), text(r, "text"));
        break;
    case kOpRotatedText:
        page.rotated_text(r["x"].real(), r["y"].real(), r["angle"].i16(), text(r, "text"));
        break;
    case kOpPageNumber:
    case kOpPageTotal: {
        float x = r["x"].real(), y = r["y"].real();
        int16_t align = alignment_or(r, "align"), angle = i16_or(r, "angle", 0);
        if (opcode == kOpPageNumber) page.page_number(x, y, align, angle);
        else page.page_total(x, y, align, angle);
        break;
    }
    case kOpLine:
        page.line(r["x1"].real(), r["y1"].real(), r["x2"].real(), r["y2"].real(), real_or(r, "width", 1),
                  colour_or(r, "colour", 0));
        break;
    case kOpBox:
        page.box(r["x1"].real(), r["y1"].real(), r["x2"].real(), r["y2"].real(), real_or(r, "borderWidth", 1),
                 colour_or(r, "fill", 0xFFFFFF), colour_or(r, "borderColour", 0));
        break;
    case kOpFont:
        page.font(r.has("style") ? style(r["style"]) : 0, r["size"].real(), colour_or(r, "colour", 0),
                  text(r, "face"));
        break;
    case kOpPictureFile:
        page.picture_file(r["x1"].real(), r["y1"].real(), r["x2"].real(), r["y2"].real(), text(r, "path"));
        break;
    case kOpWindowLabel:
        page.window_label(r["label"].i16(), text(r, "text"));
        break;
    case kOpEmbeddedPicture: {
        float x1 = r["x1"].real(), y1 = r["y1"].real(), x2 = r["x2"].real(), y2 = r["y2"].real();
        page.embedded_picture(x1, y1, x2, y2, picture_data(r, base_dir));
        break;
    }
    case kOpReserved: {
        Bytes block(20, 0);
        if (r.has("block")) {
            block = r["block"].hex();
            if (block.size() != 20) r["block"].fail("a reserved record's block is exactly 20 bytes");
        }
        page.reserved(block);
        break;
    }
    case kOpSettings14:
    case kOpSettings15: {
        std::vector<std::string> texts;
        if (r.has("texts")) {
            Field list = r["texts"];
            if (list.count() > 6) list.fail("a settings record holds at most six texts");
            for (size_t i = 0; i < list.count(); ++i) texts.push_back(list.item(i).text(kMaxText));
        }
        page.settings(opcode, texts);
        break;
    }
    case kOpBoxedText:
        page.boxed_text(r["x"].real(), r["y"].real(), r["width"].real(), alignment_or(r, "align"),
                        text(r, "text"));
        break;
    case kOpWrappedText:
        page.wrapped_text(r["left"].real(), r["top"].real(), r["right"].real(), r["bottom"].real(),
                          text(r, "text"));
        break;
    }
}

}  // namespace

void compile_record(const Field& r, const std::string& base_dir, PageBuilder& page) {
    r.expect_object();
    int16_t opcode = 0;
    const KindInfo& kind = resolve_kind(r["kind"], &opcode);
    r.keys(joined({"kind", "offset", "hex"}, kind.members));
    opcode = chosen_opcode(r, kind, opcode);
    // Exact bytes win over the fields: velldump writes them for records that
    // the fields alone would not give back (stray reserved words, a record
    // cut off by the end of its page), and for bytes no record can read.
    if (kind.opcode == 0 || r.has("hex")) {
        Bytes bytes = r["hex"].hex();
        if (kind.opcode != 0 && get_i16(bytes, 0) != opcode)
            r["hex"].fail("the bytes do not start with the opcode " + std::to_string(opcode) + " of a " +
                          kind.name + " record");
        page.raw(bytes);
        return;
    }
    try {
        compile_fields(r, opcode, base_dir, page);
    } catch (const std::invalid_argument& e) {
        r.fail(e.what());
    }
}

// ---- Pages and the document --------------------------------------------------

namespace {

Bytes compile_page(const Field& p, const std::string& base_dir) {
    p.keys(joined({"paperSize", "orientation", "source", "leadingWord", "reservedWords", "records"},
                  kDumpOnlyPage));
    int16_t paper = i16_or(p, "paperSize", 1);
    int16_t orientation =
        p.has("orientation")
            ? int16_t(p["orientation"].named({{"portrait", 0}, {"landscape", 1}}, INT16_MIN, INT16_MAX))
            : 0;
    PageBuilder page(paper, orientation, i16_or(p, "source", 7));
    if (p.has("records")) {
        Field records = p["records"];
        for (size_t i = 0; i < records.count(); ++i) compile_record(records.item(i), base_dir, page);
    }
    Bytes bytes = page.bytes();
    // The leading word and the two reserved words of the page start are not
    // read by the viewer; velldump shows them only when they are not zero.
    if (p.has("leadingWord")) put_i16(bytes.data(), bytes.size(), 0, p["leadingWord"].i16());
    if (p.has("reservedWords")) {
        Field words = p["reservedWords"];
        if (words.count() != 2) words.fail("expected two numbers");
        put_i16(bytes.data(), bytes.size(), kPageHeaderOffset + 6, words.item(0).i16());
        put_i16(bytes.data(), bytes.size(), kPageHeaderOffset + 8, words.item(1).i16());
    }
    return bytes;
}

// The password as the viewer's password box can take it.
std::string password(const Field& f, std::vector<DescriptionError>* warnings) {
    const json::Value& v = f.value();
    if (v.is_string() && v.get_ref<const std::string&>().size() > size_t(kPasswordFieldSize))
        f.fail("a password has at most 20 characters; this one has " +
               std::to_string(v.get_ref<const std::string&>().size()));
    std::string p = f.text(kPasswordFieldSize);
    if (!p.empty() && (p.front() == ' ' || p.back() == ' '))
        f.fail("the viewer trims blanks from a typed password, so one that starts or ends with a blank "
               "could never be entered");
    if (p.size() == size_t(kPasswordFieldSize) && warnings)
        warnings->push_back({f.position(), f.path(),
                             "the viewer's password box takes at most 19 characters, so a password of "
                             "20 cannot be typed"});
    return p;
}

void compile_header(const Field& h, DocumentPlan& plan, Bytes* enciphered,
                    std::vector<DescriptionError>* warnings) {
    h.keys(joined({"title", "deleteWhenClosed", "embedded", "faxAllowed", "emailAllowed", "saveAllowed",
                   "initialZoom", "displayOption", "copyFlag", "builderWindow", "stubLength", "password",
                   "encipheredPassword"},
                  kDumpOnlyHeader));
    if (h.has("title")) {
        Field title = h["title"];
        plan.title = title.text(kTitleSize);
        if (plan.title.find('\0') != std::string::npos) title.fail("a zero byte would end the title there");
    }
    if (h.has("deleteWhenClosed")) plan.delete_when_closed = flag16(h["deleteWhenClosed"]);
    if (h.has("embedded")) plan.embedded = flag16(h["embedded"]);
    if (h.has("faxAllowed")) plan.fax_allowed = flag16(h["faxAllowed"]);
    if (h.has("emailAllowed")) plan.email_allowed = flag16(h["emailAllowed"]);
    if (h.has("saveAllowed")) plan.save_allowed = flag16(h["saveAllowed"]);
    if (h.has("initialZoom"))
        plan.initial_zoom = h["initialZoom"].named({{"fitWidth", 0},
                                                    {"fitWindow", kZoomFitWindow},
                                                    {"75%", kZoom75},
                                                    {"100%", kZoom100},
                                                    {"125%", kZoom125}},
                                                   INT32_MIN, INT32_MAX);
    if (h.has("displayOption"))
        plan.display_option =
            h["displayOption"].named({{"normal", 0}, {"shrink", kDisplayShrink}}, INT32_MIN, INT32_MAX);
    if (h.has("copyFlag")) plan.copy_flag = h["copyFlag"].flag();
    if (h.has("builderWindow")) plan.builder_window = h["builderWindow"].i32();
    if (h.has("stubLength")) plan.stub_length = h["stubLength"].i32();
    if (h.has("password") && h.has("encipheredPassword"))
        h["encipheredPassword"].fail("give either \"password\" or \"encipheredPassword\", not both");
    if (h.has("password")) plan.password = password(h["password"], warnings);
    if (h.has("encipheredPassword")) {
        *enciphered = h["encipheredPassword"].hex();
        if (enciphered->empty() || enciphered->size() > size_t(kPasswordFieldSize))
            h["encipheredPassword"].fail("an enciphered password is 1 to 20 bytes");
    }
}

void compile_index(const Field& list, DocumentPlan& plan) {
    const int pages = int(plan.pages.size());
    for (size_t i = 0; i < list.count(); ++i) {
        Field e = list.item(i);
        e.keys({"page", "name"});
        IndexEntryPlan entry;
        Field page = e["page"];
        entry.page = page.i16();
        if (entry.page < 1 || entry.page > pages)
            page.fail("page " + std::to_string(entry.page) + " is not a page of this document (it has " +
                      std::to_string(pages) + ")");
        // The viewer keeps 100 bytes of a name; a longer one would lose its end.
        if (e.has("name")) entry.name = e["name"].text(kIndexNameSize);
        plan.index.push_back(entry);
    }
}

void compile_email(const Field& e, EmailPlan& email) {
    e.keys({"showDialog", "attachAsViewer", "profile", "password", "names", "addresses", "subject", "text"});
    if (e.has("showDialog")) email.show_dialog = e["showDialog"].flag();
    if (e.has("attachAsViewer")) email.attach_as_viewer = e["attachAsViewer"].flag();
    const std::pair<const char*, std::string*> texts[] = {
        {"profile", &email.profile}, {"password", &email.password}, {"names", &email.names},
        {"addresses", &email.addresses}, {"subject", &email.subject}, {"text", &email.text}};
    for (const auto& t : texts)
        if (e.has(t.first)) *t.second = e[t.first].text(kMaxText);
}

void compile_fax(const Field& f, FaxPlan& fax) {
    f.keys({"showDialog", "profile", "password", "recipients", "subject", "text"});
    if (f.has("showDialog")) fax.show_dialog = f["showDialog"].flag();
    const std::pair<const char*, std::string*> texts[] = {{"profile", &fax.profile},
                                                          {"password", &fax.password},
                                                          {"recipients", &fax.recipients},
                                                          {"subject", &fax.subject},
                                                          {"text", &fax.text}};
    for (const auto& t : texts)
        if (f.has(t.first)) *t.second = f[t.first].text(kMaxText);
}

void compile_labels(const Field& list, DocumentPlan& plan) {
    std::set<int> seen;
    for (size_t i = 0; i < list.count(); ++i) {
        Field l = list.item(i);
        l.keys({"label", "text", "position"});
        Field number = l["label"];
        LabelOverridePlan label;
        label.label = number.i16();
        if (label_override_offset(label.label) < 0)
            number.fail("label " + std::to_string(label.label) +
                        " cannot be replaced from the header; the labels that can are 11, 12 and 18 to 23");
        if (!seen.insert(label.label).second)
            number.fail("label " + std::to_string(label.label) + " is replaced twice");
        label.text = l["text"].text(kMaxText);
        plan.labels.push_back(label);
    }
}

}  // namespace

Bytes compile_document(const json::Value& root, const json::Places* places, const std::string& base_dir,
                       std::vector<DescriptionError>* warnings) {
    Field top(root, "", places);
    top.keys(joined({"header", "pages", "index", "email", "fax", "labels"}, kDumpOnlyTop));
    DocumentPlan plan;
    Bytes enciphered;
    if (top.has("header")) compile_header(top["header"], plan, &enciphered, warnings);
    if (top.has("pages")) {
        Field pages = top["pages"];
        if (pages.count() > size_t(kMaxPages))
            pages.fail("a document holds at most " + std::to_string(kMaxPages) + " pages");
        for (size_t i = 0; i < pages.count(); ++i) plan.pages.push_back(compile_page(pages.item(i), base_dir));
    }
    if (top.has("index")) compile_index(top["index"], plan);
    if (top.has("email")) {
        plan.has_email = true;
        compile_email(top["email"], plan.email);
    }
    if (top.has("fax")) {
        plan.has_fax = true;
        compile_fax(top["fax"], plan.fax);
    }
    if (top.has("labels")) compile_labels(top["labels"], plan);

    Bytes doc;
    try {
        doc = write_document(plan);
    } catch (const std::invalid_argument& e) {
        top.fail(e.what());
    }
    if (!enciphered.empty()) {
        // Stored as given: velldump cannot know the plain password, so this
        // is how a dumped protected document comes back unchanged.
        put_i16(doc.data(), doc.size(), hdr::kPasswordLength, int16_t(enciphered.size()));
        std::memset(doc.data() + hdr::kPassword, 0, kPasswordFieldSize);
        std::memcpy(doc.data() + hdr::kPassword, enciphered.data(), enciphered.size());
    }
    return doc;
}

}  // namespace vell
