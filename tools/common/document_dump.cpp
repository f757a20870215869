#include "document_dump.h"

#include <algorithm>
#include <cstring>

#include "bitmap_file.h"
#include "document/container.h"
#include "document/document.h"
#include "document/format.h"
#include "document_json.h"
#include "render/records.h"

namespace vell {

namespace {

using json::Value;

constexpr int64_t kLargestCheckedDocument = 64 * 1024 * 1024;

std::string num(int64_t v) { return std::to_string(v); }

// The header slots of the replaceable labels, in header order.
const std::pair<int, int> kLabelSlots[] = {{20, hdr::kLabel20}, {21, hdr::kLabel21}, {22, hdr::kLabel22},
                                           {23, hdr::kLabel23}, {19, hdr::kLabel19}, {18, hdr::kLabel18},
                                           {11, hdr::kLabel11}, {12, hdr::kLabel12}};

class Dumper {
public:
    explicit Dumper(const std::string& path) : path_(path) {}

    DumpResult run() {
        DumpResult result;
        const int32_t base = self_extract_base(path_);
        if (!open_document(doc_, path_, base)) return result;
        result.opened = true;
        const int64_t file_size = doc_.file.size();
        length_ = base > 0 ? file_size - kTrailerSize - base : file_size;
        if (length_ < 0) length_ = 0;

        out_ = Value::object();
        out_["base"] = base;
        out_["documentLength"] = length_;
        out_["problems"] = Value::array();  // filled in at the end, kept in this place
        dump_all();
        out_["problems"] = problems_;
        if (notes_.size()) out_["notes"] = notes_;
        result.description = out_;
        result.problems = problems_.size();
        return result;
    }

private:
    void problem(const std::string& text) { problems_.push_back(text); }

    // Bytes of the document from a position, only those it really has;
    // zeros for the rest (before its first byte or past its end).
    Bytes bytes_at(int64_t position, size_t count) const {
        Bytes out(count, 0);
        const int64_t first = std::max<int64_t>(position, 1);
        const int64_t last = std::min<int64_t>(position + int64_t(count) - 1, length_);
        if (first <= last)
            doc_.file.read_at(doc_.base + first - 1, out.data() + (first - position), size_t(last - first + 1));
        return out;
    }

    bool inside(int64_t position, int64_t count) const {
        return position >= 1 && position + count - 1 <= length_;
    }

    int16_t h16(int offset) const { return get_i16(header_, kHeaderSize, size_t(offset)); }
    int32_t h32(int offset) const { return get_i32(header_, kHeaderSize, size_t(offset)); }

    void dump_all() {
        if (length_ < kHeaderSize)
            problem("the document is " + num(length_) + " bytes long, shorter than its " + num(kHeaderSize) +
                    "-byte header");
        if (read_header(doc_) != HeaderCheck::kDocument) {
            Bytes start = bytes_at(1, 4);
            problem("not a vell document: it starts with the bytes " + to_hex(start.data(), 4) +
                    " instead of \"300A\"; nothing more is read");
            return;
        }
        // The reader adjusts the allowed flags when it reads the settings;
        // the dump shows the header as the file stores it.
        std::memcpy(header_, doc_.header, kHeaderSize);
        out_["header"] = header();
        out_["pages"] = pages();
        out_["index"] = index();
        settings();
        out_["labels"] = labels();
        if (problems_.size() == 0) check_round_trip();
    }

    Value header() {
        Value h = Value::object();
        const char* title = reinterpret_cast<const char*>(header_ + hdr::kTitle);
        h["title"] = std::string(title, std::find(title, title + kTitleSize, '\0'));
        h["deleteWhenClosed"] = flag_value(h16(hdr::kDeleteWhenClosed));
        h["embedded"] = flag_value(h16(hdr::kEmbedded));
        h["faxAllowed"] = flag_value(h16(hdr::kFaxAllowed));
        h["emailAllowed"] = flag_value(h16(hdr::kEmailAllowed));
        h["saveAllowed"] = flag_value(h16(hdr::kSaveAllowed));
        h["initialZoom"] = zoom_value(h32(hdr::kInitialZoom));
        h["pageCount"] = h32(hdr::kPageCount);
        h["indexCount"] = h32(hdr::kIndexCount);
        h["pageIndexPosition"] = h32(hdr::kPageIndexPos);
        h["documentIndexPosition"] = h32(hdr::kDocIndexPos);
        const int16_t password_length = h16(hdr::kPasswordLength);
        h["passwordLength"] = password_length;
        if (password_length > kPasswordFieldSize)
            problem("the password length " + num(password_length) + " is more than the " +
                    num(kPasswordFieldSize) + " bytes of the password field");
        if (password_length > 0)
            h["encipheredPassword"] = to_hex(header_ + hdr::kPassword,
                                       size_t(std::min<int>(password_length, kPasswordFieldSize)));
        h["stubLength"] = h32(hdr::kStubLength);
        Value labels = Value::object();
        for (const auto& slot : kLabelSlots) labels[num(slot.first)] = h32(slot.second);
        h["labelOverridePositions"] = labels;
        h["displayOption"] = display_value(h32(hdr::kDisplayOption));
        h["faxSettingsPosition"] = h32(hdr::kFaxPos);
        h["emailSettingsPosition"] = h32(hdr::kEmailPos);
        h["copyFlag"] = flag_value(h32(hdr::kCopyFlag));
        h["builderWindow"] = h32(hdr::kBuilderWindow);
        return h;
    }

    // ---- Pages -------------------------------------------------------------

    Value pages() {
        Value list = Value::array();
        const int32_t claimed = h32(hdr::kPageCount);
        if (claimed < 0) problem("the page count is " + num(claimed) + "; it cannot be negative");
        if (claimed > kMaxPages)
            problem("the page count " + num(claimed) + " is more than the " + num(kMaxPages) +
                    " pages the viewer can show; the dump shows at most the first " + num(kMaxPages));
        read_page_index(doc_);
        const int64_t n = int64_t(doc_.page_positions.size());
        if (n == 0) return list;
        const int64_t index_pos = h32(hdr::kPageIndexPos);
        int64_t shown = n;
        if (index_pos <= kHeaderSize) {
            problem("the page index position " + num(index_pos) + " lies " +
                    (index_pos < 1 ? "outside the document" : "inside the header") + "; no page is read");
            return list;
        }
        // Page p ends where entry p + 1 says, so a page whose following
        // entry lies past the end of the document has no known end.
        const int64_t fit = std::max<int64_t>(0, (length_ - index_pos + 1) / 4);
        if (fit < n) {
            shown = std::max<int64_t>(fit - 1, 0);
            problem("the page index (" + num(n) + " entries at position " + num(index_pos) +
                    ") runs past the end of the document after " + num(fit) + " entries; the dump shows " +
                    (shown ? "pages 1 to " + num(shown) + ", whose start and end it holds" : "no page"));
        }
        int64_t previous_end = 0;
        for (int64_t p = 1; p <= shown; ++p) list.push_back(page(int32_t(p), n, index_pos, &previous_end));
        return list;
    }

    Value page(int32_t p, int64_t n, int64_t index_pos, int64_t* previous_end) {
        const int64_t start = doc_.page_positions[size_t(p - 1)];
        int64_t end = p < n ? doc_.page_positions[size_t(p)] : index_pos;
        Value page = Value::object();
        page["number"] = p;
        page["position"] = start;
        page["length"] = end - start;
        const std::string name = "page " + num(p);
        auto not_read = [&](const std::string& why) {
            problem(name + " " + why + "; it is not read");
            page["end"] = "not read: it " + why;
            return page;
        };
        if (start <= kHeaderSize || start > length_)
            return not_read("starts at position " + num(start) + ", outside the document's pages");
        if (end < start)
            return not_read("ends before it starts (it starts at " + num(start) + " and ends at " + num(end) + ")");
        if (*previous_end > start)
            return not_read("overlaps page " + num(p - 1) + " (it starts at " + num(start) + ", page " +
                            num(p - 1) + " ends at " + num(*previous_end) + ")");
        if (*previous_end != 0 && *previous_end < start)
            problem(name + " does not start where page " + num(p - 1) + " ends: " +
                    num(start - *previous_end) + " bytes lie between them");
        if (end - 1 > length_) {
            problem(name + " runs past the end of the document (it ends at " + num(end) + ", the document has " +
                    num(length_) + " bytes); the dump shows the bytes there are");
            end = length_ + 1;
        }
        *previous_end = end;

        load_page(doc_, p);
        Bytes bytes = doc_.page;
        bytes.resize(std::min<size_t>(bytes.size(), size_t(end - start)));
        const PageHeader ph = parse_page_header(bytes.data(), bytes.size());
        page["paperSize"] = ph.paper_size;
        page["orientation"] = orientation_value(ph.orientation);
        page["source"] = ph.paper_source;
        if (bytes.size() < size_t(kPageRecordsOffset)) {
            problem(name + " is " + num(int64_t(bytes.size())) + " bytes long, shorter than the " +
                    num(kPageRecordsOffset) + " bytes of its start");
            page["end"] = "the page is shorter than its start";
            return page;
        }
        // The words that nothing reads, shown when they differ from what the
        // writer puts there.
        const Bytes plain = PageBuilder(ph.paper_size, ph.orientation, ph.paper_source).bytes();
        if (get_i16(bytes, 0) != get_i16(plain, 0)) page["leadingWord"] = get_i16(bytes, 0);
        if (get_i32(bytes, 8) != get_i32(plain, 8)) {
            Value words = Value::array();
            words.push_back(ph.reserved1);
            words.push_back(ph.reserved2);
            page["reservedWords"] = words;
        }
        Value records = Value::array();
        page["end"] = read_records(bytes, name, records);
        page["records"] = records;
        return page;
    }

    // Decodes every record into records; returns how the page ended.
    std::string read_records(const Bytes& bytes, const std::string& name, Value& records) {
        const size_t size = bytes.size();
        size_t offset = kPageRecordsOffset;
        for (;;) {
            PageRecord r;
            const Decoded d = decode_record(bytes.data(), size, offset, &r);
            const std::string at = " at offset " + num(int64_t(offset));
            if (d == Decoded::kEndOfPage) {
                if (offset >= size) return "bytes ended" + at + ", without an end record";
                if (offset + 2 > size) {
                    records.push_back(raw(bytes, offset, size));
                    return "bytes ended" + at + ", inside an opcode";
                }
                Value end = Value::object();
                end["kind"] = "end";
                end["offset"] = offset;
                if (r.opcode != kOpEndOfPage) end["opcode"] = r.opcode;
                records.push_back(end);
                if (r.next >= size) return "end record" + at;
                records.push_back(raw(bytes, r.next, size));
                return "end record" + at + "; " + num(int64_t(size - r.next)) + " bytes after it are not read";
            }
            if (d == Decoded::kUnknownOpcode) {
                records.push_back(raw(bytes, offset, size));
                problem(name + ": unknown opcode " + num(r.opcode) + at + "; the page ends there");
                return "unknown opcode " + num(r.opcode) + at;
            }
            if (d == Decoded::kMalformed) {
                records.push_back(raw(bytes, offset, size));
                const bool cut = offset + 2 + size_t(operand_block_size(r.opcode)) > size;
                const std::string why = cut ? "its operand block is cut off by the end of the page"
                                            : "it declares a negative length";
                problem(name + ": the record" + at + " is malformed (" + why + "); the page ends there");
                return "malformed record" + at + ": " + why;
            }
            Value record = describe(r, bytes);
            keep_exact(record, bytes, offset, std::min(r.next, size));
            records.push_back(record);
            if (r.cut_short) {
                problem(name + ": the " + record_kind_name(r.opcode) + " record" + at +
                        " runs past the end of the page; the page ends after it");
                return "the record" + at + " runs past the end of the page";
            }
            offset = r.next;
        }
    }

    static Value raw(const Bytes& bytes, size_t from, size_t to) {
        Value v = Value::object();
        v["kind"] = "raw";
        v["offset"] = from;
        v["hex"] = to_hex(bytes.data() + from, to - from);
        return v;
    }

    // Adds the record's exact bytes when its fields alone would not give
    // them back (reserved words that are not zero, NaN payloads, a record cut
    // short by the end of the page).
    static void keep_exact(Value& record, const Bytes& page, size_t from, size_t to) {
        const Bytes expected(page.begin() + long(from), page.begin() + long(to));
        PageBuilder builder(0, 0, 0);
        const size_t prefix = builder.bytes().size();
        bool same = false;
        try {
            compile_record(Field(record, ""), "", builder);
            const Bytes& got = builder.bytes();
            same = got.size() - prefix == expected.size() &&
                   std::equal(expected.begin(), expected.end(), got.begin() + long(prefix));
        } catch (const DescriptionError&) {
        }
        if (!same) record["hex"] = to_hex(expected.data(), expected.size());
    }

    static Value describe(const PageRecord& r, const Bytes& page) {
        Value v = Value::object();
        v["kind"] = record_kind_name(r.opcode);
        v["offset"] = r.offset;
        auto real = [&](const char* key, float f) { v[key] = real_value(f); };
        auto text = [&](const char* key) { v[key] = r.data; };
        auto corners = [&]() {
            real("x1", r.x1);
            real("y1", r.y1);
            real("x2", r.x2);
            real("y2", r.y2);
        };
        switch (r.opcode) {
        case kOpAlignedText:
        case kOpRotatedText:
        case kOpPageNumber:
        case kOpPageTotal:
            real("x", r.x1);
            real("y", r.y1);
            if (r.opcode != kOpRotatedText) v["align"] = alignment_value(r.alignment);
            if (r.opcode != kOpAlignedText) v["angle"] = r.angle;
            if (r.opcode == kOpAlignedText || r.opcode == kOpRotatedText) text("text");
            break;
        case kOpLine:
            corners();
            real("width", r.width);
            v["colour"] = colour_value(r.colour);
            break;
        case kOpBox:
            corners();
            real("borderWidth", r.width);
            v["fill"] = colour_value(r.fill_colour);
            v["borderColour"] = colour_value(r.border_colour);
            break;
        case kOpFont:
            text("face");
            real("size", r.size);
            v["style"] = style_value(r.style);
            v["colour"] = colour_value(r.colour);
            break;
        case kOpPictureFile:
            corners();
            text("path");
            break;
        case kOpWindowLabel:
            v["label"] = r.label;
            text("text");
            break;
        case kOpEmbeddedPicture: {
            corners();
            const Bytes data(r.data.begin(), r.data.end());
            v["size"] = r.declared_length;
            v["image"] = describe_bitmap(data);
            v["data"] = to_base64(data.data(), data.size());
            break;
        }
        case kOpReserved:
            v["block"] = to_hex(page.data() + r.offset + 2, 20);
            break;
        case kOpSettings14:
        case kOpSettings15: {
            v["opcode"] = r.opcode;
            Value texts = Value::array();
            for (const std::string& t : r.settings_texts) texts.push_back(t);
            v["texts"] = texts;
            break;
        }
        case kOpBoxedText:
            real("x", r.x1);
            real("y", r.y1);
            real("width", r.width);
            v["align"] = alignment_value(r.alignment);
            text("text");
            break;
        case kOpWrappedText:
            real("left", r.x1);
            real("top", r.y1);
            real("right", r.x2);
            real("bottom", r.y2);
            text("text");
            break;
        }
        return v;
    }

    // ---- Document index, settings, labels ------------------------------------

    Value index() {
        Value list = Value::array();
        const int32_t m = h32(hdr::kIndexCount);
        const int64_t position = h32(hdr::kDocIndexPos);
        if (m < 0) problem("the document index count is " + num(m) + "; it cannot be negative");
        if (m <= 0) return list;
        if (!inside(position, 4)) {
            problem("the document index position " + num(position) + " lies outside the document; no entry is read");
            return list;
        }
        // Walk the entries to find how many the document really holds.
        int32_t complete = 0;
        int64_t at = position;
        for (; complete < m; ++complete) {
            if (!inside(at, 4)) {
                problem("the document index runs past the end of the document: entry " + num(complete + 1) +
                        " of " + num(m) + " would start at position " + num(at));
                break;
            }
            const int16_t length = get_i16(bytes_at(at + 2, 2), 0);
            at += 4 + std::max<int16_t>(length, 0);
            if (at - 1 > length_) {
                problem("the name of document index entry " + num(complete + 1) +
                        " runs past the end of the document");
                break;
            }
        }
        set_header_i32(doc_, hdr::kIndexCount, complete);
        read_document_index(doc_);
        set_header_i32(doc_, hdr::kIndexCount, m);
        const int64_t pages = std::max<int32_t>(h32(hdr::kPageCount), 0);
        for (size_t i = 0; i < doc_.index.size(); ++i) {
            const IndexEntry& e = doc_.index[i];
            if (e.page < 1 || e.page > pages)
                problem("document index entry " + num(int64_t(i + 1)) + " points at page " + num(e.page) +
                        ", which the document does not have");
            Value entry = Value::object();
            entry["page"] = e.page;
            entry["name"] = e.name;
            list.push_back(entry);
        }
        return list;
    }

    // Checks that a settings block with its texts lies inside the document.
    bool block_inside(const char* what, int64_t position, std::initializer_list<size_t> length_offsets) {
        int64_t end = position + 2 + kSettingsRecordSize;
        if (inside(position, end - position)) {
            const Bytes record = bytes_at(position + 2, kSettingsRecordSize);
            for (size_t o : length_offsets) end += std::max<int16_t>(get_i16(record, o), 0);
            if (end - 1 <= length_) return true;
        }
        problem(std::string("the ") + what + " settings block at position " + num(position) +
                " runs past the end of the document");
        return false;
    }

    void settings() {
        const int64_t email_pos = h32(hdr::kEmailPos), fax_pos = h32(hdr::kFaxPos);
        if (email_pos > 0) block_inside("e-mail", email_pos, {8, 10, 12, 14, 16, 18});
        if (fax_pos > 0) block_inside("fax", fax_pos, {8, 10, 12, 16, 18});
        read_settings(doc_);
        if (doc_.email.present) {
            const EmailSettings& e = doc_.email;
            Value v = Value::object();
            v["showDialog"] = flag_value(e.show_dialog);
            v["attachAsViewer"] = flag_value(e.attach_as_viewer);
            v["profile"] = e.profile;
            v["password"] = e.password;
            v["names"] = e.names;
            v["addresses"] = e.addresses;
            v["subject"] = e.subject;
            v["text"] = e.text;
            out_["email"] = v;
        }
        if (doc_.fax.present) {
            const FaxSettings& f = doc_.fax;
            Value v = Value::object();
            v["showDialog"] = flag_value(f.show_dialog);
            v["profile"] = f.profile;
            v["password"] = f.password;
            v["recipients"] = f.recipients;
            v["subject"] = f.subject;
            v["text"] = f.text;
            out_["fax"] = v;
        }
    }

    Value labels() {
        struct Found {
            int64_t position;
            int label;
            std::string text;
        };
        std::vector<Found> found;
        for (const auto& slot : kLabelSlots) {
            const int32_t position = h32(slot.second);
            if (position <= kLabelOverrideThreshold) continue;
            const int16_t length = get_i16(bytes_at(int64_t(position) + 4, 2), 0);
            if (!inside(position, 6 + std::max<int16_t>(length, 0))) {
                problem("the override record of label " + num(slot.first) + " at position " + num(position) +
                        " runs past the end of the document");
                continue;
            }
            bool present = false;
            std::string text = read_label_override(doc_, position, &present);
            found.push_back({position, slot.first, text});
        }
        // In file order, the order in which the writer stores them.
        std::stable_sort(found.begin(), found.end(),
                         [](const Found& a, const Found& b) { return a.position < b.position; });
        Value list = Value::array();
        for (const Found& f : found) {
            Value v = Value::object();
            v["label"] = f.label;
            v["text"] = f.text;
            v["position"] = f.position;
            list.push_back(v);
        }
        return list;
    }

    // ---- Round trip -----------------------------------------------------------

    void check_round_trip() {
        if (length_ > kLargestCheckedDocument) return;
        Bytes again;
        try {
            again = compile_document(out_, nullptr, "", nullptr);
        } catch (const DescriptionError& e) {
            notes_.push_back("vellmake would refuse this description: " +
                                      (e.path.empty() ? std::string() : e.path + ": ") + e.message);
            return;
        }
        const Bytes original = bytes_at(1, size_t(length_));
        if (again == original) return;
        size_t i = 0;
        while (i < again.size() && i < original.size() && again[i] == original[i]) ++i;
        notes_.push_back("vellmake would not give back this document byte for byte from this "
                                  "description: they first differ at position " + num(int64_t(i + 1)) +
                                  (i < size_t(kHeaderSize) ? ", in the header" : "") +
                                  " (the document has " + num(length_) + " bytes, the description gives " +
                                  num(int64_t(again.size())) + ")");
    }

    std::string path_;
    Document doc_;
    int64_t length_ = 0;
    uint8_t header_[kHeaderSize] = {};
    Value out_;
    Value problems_ = Value::array();
    Value notes_ = Value::array();
};

}  // namespace

DumpResult dump_document(const std::string& path) { return Dumper(path).run(); }

}  // namespace vell
