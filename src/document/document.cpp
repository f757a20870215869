// The document reader: header, settings blocks, page index, document index,
// label override records, the one loaded page and the building messages.
//
// Every structure is found through a 1-based position counted from the
// document's first byte; the file offset is base + position - 1. All reads go
// through read_document(), which yields zeros for bytes the document does
// not have (before its first byte or past the end of the file), so a lying
// header can make the reader see zeros but never read out of bounds. Sizes
// that come from the file are checked against the file's length before
// anything is allocated for them.
#include "document/document.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "document/text.h"

namespace vell {

namespace {

// File offset of a document position, in 64 bits: base + position - 1 can
// pass the 32-bit range for positions near the top of it.
int64_t file_offset(const Document& doc, int64_t position) {
    return int64_t(doc.base) + position - 1;
}

// Reads count bytes at a file offset into dest. Bytes in front of the
// document's first byte (the stub of a self-extracting viewer, or before the
// file's start) and past the file's end are zeros, so a plain document and
// the same document behind a stub read the same even for stray positions.
void read_document(const Document& doc, int64_t offset, void* dest, size_t count) {
    uint8_t* out = static_cast<uint8_t*>(dest);
    const int64_t base = doc.base > 0 ? doc.base : 0;
    if (offset < base) {
        int64_t gap = base - offset;
        if (uint64_t(gap) >= count) {
            std::memset(out, 0, count);
            return;
        }
        std::memset(out, 0, size_t(gap));
        out += gap;
        count -= size_t(gap);
        offset = base;
    }
    doc.file.read_at(offset, out, count);  // zeros past the end of the file
}

// Bytes the file holds from offset on; 0 when the offset is at or past its end.
int64_t bytes_available(const Document& doc, int64_t offset) {
    int64_t size = doc.file.size();
    return size > offset ? size - offset : 0;
}

std::string read_text(const Document& doc, int64_t offset, int16_t length) {
    if (length <= 0) return std::string();
    std::string text(size_t(length), '\0');
    read_document(doc, offset, &text[0], text.size());
    return text;
}

// Reads variable-length entries front to back through a window of the file,
// so a document index of thousands of entries costs a few large reads rather
// than one read per field.
class SequentialReader {
public:
    SequentialReader(const Document& doc, int64_t offset) : doc_(doc), offset_(offset) {}

    int64_t offset() const { return offset_; }
    void skip(int64_t count) { offset_ += count; }

    // The next count bytes (at most the window's size), valid until the next
    // call; zeros for what the document does not have.
    const uint8_t* take(size_t count) {
        if (window_.empty() || offset_ < window_start_ ||
            offset_ + int64_t(count) > window_start_ + int64_t(kWindow)) {
            window_.resize(kWindow);
            window_start_ = offset_;
            read_document(doc_, window_start_, window_.data(), kWindow);
        }
        const uint8_t* at = window_.data() + (offset_ - window_start_);
        offset_ += int64_t(count);
        return at;
    }

private:
    static constexpr size_t kWindow = 64 * 1024;
    const Document& doc_;
    int64_t offset_;
    int64_t window_start_ = 0;
    Bytes window_;  // empty until the first read
};

// Reserved ahead for the document index; beyond it the vector grows as
// entries are really found.
constexpr int64_t kMaxIndexReserve = 65536;

// The pages that can be located: those the header counts and the page index
// holds. The two agree except while a building header is being rewritten.
int32_t located_pages(const Document& doc) {
    return std::min<int32_t>(page_count(doc), int32_t(doc.page_positions.size()));
}

}  // namespace

Document& the_document() {
    static Document instance;
    return instance;
}

// ---- Header ----------------------------------------------------------------

int16_t header_i16(const Document& doc, int offset) {
    return get_i16(doc.header, kHeaderSize, size_t(offset));
}

int32_t header_i32(const Document& doc, int offset) {
    return get_i32(doc.header, kHeaderSize, size_t(offset));
}

void set_header_i16(Document& doc, int offset, int16_t value) {
    put_i16(doc.header, kHeaderSize, size_t(offset), value);
}

void set_header_i32(Document& doc, int offset, int32_t value) {
    put_i32(doc.header, kHeaderSize, size_t(offset), value);
}

std::string document_title(const Document& doc) {
    return fixed_field_text(doc.header + hdr::kTitle, kTitleSize);
}

int32_t page_count(const Document& doc) {
    int32_t n = doc.building ? doc.pages_received : header_i32(doc, hdr::kPageCount);
    return std::clamp(n, int32_t(0), int32_t(kMaxPages));
}

void apply_copy_restriction(Document& doc) {
    if (!doc.copy_restricted) return;
    set_header_i16(doc, hdr::kSaveAllowed, 0);
    set_header_i16(doc, hdr::kFaxAllowed, 0);
    set_header_i16(doc, hdr::kEmailAllowed, 0);
}

bool open_document(Document& doc, const std::string& path, int32_t base) {
    // Saving, sending and deleting the document later must reach this very
    // file, wherever the current directory has moved by then.
    doc.path = absolute_path(path);
    doc.base = base;
    std::memset(doc.header, 0, sizeof doc.header);
    doc.validated = false;
    doc.page_positions.clear();
    doc.index.clear();
    doc.email = EmailSettings();
    doc.fax = FaxSettings();
    doc.pages_received = 0;
    doc.copy_restricted = false;
    unload_page(doc);
    return doc.file.open_shared(doc.path);
}

void close_document(Document& doc) {
    doc.file.close();
    unload_page(doc);
}

HeaderCheck read_header(Document& doc) {
    read_document(doc, doc.base, doc.header, kHeaderSize);
    // `validated` is start-up's record of its own check and stays as it is:
    // a failed re-read while building must not change what happens at the end.
    if (std::memcmp(doc.header + hdr::kSignature, kSignature, 4) != 0) {
        // A file that is not a document has no title to show: messages about
        // it fall back to the program's own caption.
        std::memset(doc.header + hdr::kTitle, 0, kTitleSize);
        return HeaderCheck::kNotDocument;
    }
    return HeaderCheck::kDocument;
}

bool too_many_pages(const Document& doc) {
    return header_i32(doc, hdr::kPageCount) > kMaxPages;
}

// ---- Settings blocks -------------------------------------------------------

namespace {

// Reads a settings block at a position: the lead i16 is skipped, the 20-byte
// record is read whole, and the texts follow one after another with the
// lengths found at length_offsets inside the record. A length of 0 or less
// is an empty text and takes no bytes.
void read_settings_block(const Document& doc, int32_t position, uint8_t (&record)[kSettingsRecordSize],
                         const size_t* length_offsets, std::string* const* texts, int count) {
    int64_t at = file_offset(doc, position) + 2;
    read_document(doc, at, record, kSettingsRecordSize);
    at += kSettingsRecordSize;
    for (int i = 0; i < count; ++i) {
        int16_t length = get_i16(record, kSettingsRecordSize, length_offsets[i]);
        *texts[i] = read_text(doc, at, length);
        if (length > 0) at += length;
    }
}

}  // namespace

void read_settings(Document& doc) {
    doc.email = EmailSettings();
    doc.fax = FaxSettings();
    uint8_t record[kSettingsRecordSize];

    const int32_t email_pos = header_i32(doc, hdr::kEmailPos);
    if (email_pos > 0) {
        set_header_i16(doc, hdr::kEmailAllowed, 1);
        // Show dialog i32, attach as viewer i32, six lengths.
        EmailSettings& e = doc.email;
        const size_t lengths[6] = {8, 10, 12, 14, 16, 18};
        std::string* const texts[6] = {&e.profile, &e.password, &e.names,
                                       &e.addresses, &e.subject, &e.text};
        read_settings_block(doc, email_pos, record, lengths, texts, 6);
        e.present = true;
        e.show_dialog = get_i32(record, sizeof record, 0);
        e.attach_as_viewer = get_i32(record, sizeof record, 4);
    }

    const int32_t fax_pos = header_i32(doc, hdr::kFaxPos);
    if (fax_pos > 0) {
        set_header_i16(doc, hdr::kFaxAllowed, 1);
        // Show dialog i32, 4 reserved bytes, three lengths, an unused i16
        // (where the e-mail block has the length of its addresses), two
        // lengths.
        FaxSettings& f = doc.fax;
        const size_t lengths[5] = {8, 10, 12, 16, 18};
        std::string* const texts[5] = {&f.profile, &f.password, &f.recipients, &f.subject, &f.text};
        read_settings_block(doc, fax_pos, record, lengths, texts, 5);
        f.present = true;
        f.show_dialog = get_i32(record, sizeof record, 0);
    }
}

// ---- Page index and document index -----------------------------------------

void read_page_index(Document& doc) {
    doc.page_positions.clear();
    // page_count() keeps N within 0..32767 even for a header that claims
    // more; start-up refuses such a document (too_many_pages), and the
    // clamp keeps this read bounded whoever calls it.
    const int32_t n = page_count(doc);
    if (n < 1 || doc.building) return;
    Bytes raw(size_t(n) * 4);
    read_document(doc, file_offset(doc, header_i32(doc, hdr::kPageIndexPos)), raw.data(), raw.size());
    doc.page_positions.resize(size_t(n));
    for (int32_t i = 0; i < n; ++i) doc.page_positions[size_t(i)] = get_i32(raw, size_t(i) * 4);
}

void read_document_index(Document& doc) {
    doc.index.clear();
    const int32_t m = header_i32(doc, hdr::kIndexCount);
    const int32_t position = header_i32(doc, hdr::kDocIndexPos);
    // A position below 1 lies outside the document: there is no index to read.
    if (m <= 0 || doc.building || position < 1) return;

    // Entries are at least four bytes each, and every entry that starts past
    // the end of the file would read as page 0 with an empty name; stopping
    // there keeps a lying entry count from exhausting memory.
    const int64_t end = doc.file.size();
    SequentialReader in(doc, file_offset(doc, position));
    const int64_t room = (end - in.offset() + 3) / 4;  // most entries that can start
    doc.index.reserve(size_t(std::clamp<int64_t>(std::min<int64_t>(m, room), 0, kMaxIndexReserve)));
    for (int32_t i = 0; i < m && in.offset() < end; ++i) {
        const uint8_t* head = in.take(4);
        IndexEntry entry;
        entry.page = get_i16(head, 4, 0);
        int16_t length = get_i16(head, 4, 2);
        if (length > 0) {
            size_t kept = std::min<size_t>(size_t(length), kIndexNameSize);
            const uint8_t* name = in.take(kept);
            entry.name.assign(reinterpret_cast<const char*>(name), kept);
            in.skip(length - int64_t(kept));
        }
        doc.index.push_back(std::move(entry));
    }
}

// ---- Label override records ------------------------------------------------

std::string read_label_override(const Document& doc, int32_t position, bool* found) {
    if (found) *found = position > kLabelOverrideThreshold;
    if (position <= kLabelOverrideThreshold) return std::string();
    // Lead i16 and label number i16 are skipped: the header slot that points
    // here decides the label. Then the text length and the text.
    int64_t at = file_offset(doc, position) + 4;
    uint8_t length_field[2];
    read_document(doc, at, length_field, sizeof length_field);
    return read_text(doc, at + 2, get_i16(length_field, sizeof length_field, 0));
}

// ---- Pages -----------------------------------------------------------------

PageSpan page_span(const Document& doc, int32_t p) {
    const int32_t n = located_pages(doc);
    PageSpan span;
    if (p < 1 || p > n) return span;
    const int64_t start = doc.page_positions[size_t(p - 1)];
    const int64_t end = p < n ? doc.page_positions[size_t(p)] : header_i32(doc, hdr::kPageIndexPos);
    span.position = int32_t(start);
    // A page that starts before the document's first byte or ends before it
    // starts is malformed: it has no bytes.
    if (start < 1 || end <= start) return span;
    span.length = int32_t(std::min<int64_t>(end - start, INT32_MAX));
    return span;
}

void load_page(Document& doc, int32_t p) {
    if (p < 1 || p > located_pages(doc)) {
        unload_page(doc);
        return;
    }
    const PageSpan span = page_span(doc, p);
    // Only the bytes the file really has are loaded: a page whose end lies
    // past the end of the file (a lying header, or the newest page of a
    // building document) is cut there, so its record stream simply ends
    // instead of running into zeros, and no size claimed by the file is
    // allocated before the file shows it has those bytes.
    const int64_t offset = file_offset(doc, span.position);
    const int64_t length = std::min<int64_t>(span.length, bytes_available(doc, offset));
    Bytes bytes(size_t(length > 0 ? length : 0));
    if (!bytes.empty()) read_document(doc, offset, bytes.data(), bytes.size());
    doc.page.swap(bytes);  // the previous page's buffer is freed with `bytes`
    doc.page_number = p;
}

void unload_page(Document& doc) {
    Bytes().swap(doc.page);
    doc.page_number = 0;
}

int32_t copy_page_bytes(const Document& doc, int32_t offset, int32_t count, void* dest) {
    if (doc.page_number == 0) return 0;
    // A negative count copies nothing and leaves the cursor where it was: the
    // cursor never moves backwards.
    if (count <= 0) return offset;
    // Bytes outside the page (past its end, or before offset 0) are zeros.
    uint8_t* out = static_cast<uint8_t*>(dest);
    std::memset(out, 0, size_t(count));
    const int64_t first = std::max<int64_t>(offset, 0);
    const int64_t last = std::min<int64_t>(int64_t(offset) + count, int64_t(doc.page.size()));
    if (first < last)
        std::memcpy(out + (first - offset), doc.page.data() + first, size_t(last - first));
    return int32_t(std::min<int64_t>(int64_t(offset) + count, INT32_MAX));
}

std::string page_text(const Document& doc, int32_t offset, int32_t count) {
    if (count <= 0) return std::string();
    const int64_t size = int64_t(doc.page.size());
    const int64_t first = std::max<int64_t>(offset, 0);
    const int64_t last = std::min<int64_t>(int64_t(offset) + count, size);
    if (first >= last) return std::string();
    return std::string(reinterpret_cast<const char*>(doc.page.data()) + first, size_t(last - first));
}

PageHeader parse_page_header(const uint8_t* page, size_t size) {
    PageHeader h;
    h.paper_size = get_i16(page, size, kPageHeaderOffset + 0);
    h.orientation = get_i16(page, size, kPageHeaderOffset + 2);
    h.paper_source = get_i16(page, size, kPageHeaderOffset + 4);
    h.reserved1 = get_i16(page, size, kPageHeaderOffset + 6);
    h.reserved2 = get_i16(page, size, kPageHeaderOffset + 8);
    return h;
}

PageHeader read_page_header(const Document& doc, int32_t p) {
    // Read straight from the file, but never beyond the page's own bytes: a
    // page shorter than its header gives zeros for the missing fields, the
    // same as when the loaded page is parsed, so the printer and the screen
    // see the same paper.
    uint8_t start[kPageRecordsOffset] = {};
    PageSpan span = page_span(doc, p);
    size_t count = std::min<size_t>(sizeof start, size_t(span.length));
    if (count > 0) read_document(doc, file_offset(doc, span.position), start, count);
    return parse_page_header(start, count);
}

// ---- Building messages -----------------------------------------------------

BuildingRefresh on_page_added(Document& doc, int32_t position, int16_t current_page) {
    BuildingRefresh r;
    r.current_page = current_page;
    // Page announcements count only while the document is building (a late
    // one would corrupt the file's own page index), and only up to the last
    // page number the viewer can reach.
    if (!doc.building || doc.pages_received >= kMaxPages) return r;

    // The generator keeps the header current; its page index position is
    // the end of the newest page. A failed validation leaves the header as
    // read with an empty title and is not reported again.
    read_header(doc);
    apply_copy_restriction(doc);
    doc.pages_received += 1;
    set_header_i32(doc, hdr::kPageCount, doc.pages_received);
    doc.page_positions.resize(size_t(doc.pages_received));
    doc.page_positions.back() = position;

    r.status_and_toolbar = true;
    // The first page always shows page 1, wherever the user went before
    // there was any page.
    if (current_page < 1 || doc.pages_received == 1) {
        r.make_first_current = true;
        r.current_page = 1;
        load_page(doc, 1);
        r.reload_current = true;
        r.redraw = true;
    } else if (current_page >= doc.pages_received - 1 && current_page <= doc.pages_received) {
        // The newest page's end has moved, and so has the end of the page
        // before it when that one was shown while still the newest.
        load_page(doc, current_page);
        r.reload_current = true;
        r.redraw = true;
    }
    return r;
}

BuildingRefresh on_building_finished(Document& doc, int16_t current_page) {
    BuildingRefresh r;
    r.current_page = current_page;
    if (!doc.building) return r;  // a repeated message has nothing left to do

    doc.building = false;
    read_header(doc);
    read_settings(doc);
    apply_copy_restriction(doc);
    read_page_index(doc);
    read_document_index(doc);

    // Below 1 becomes 1, then above N becomes N; a document of no pages
    // therefore ends with current page 0, which selects no page.
    int32_t p = current_page;
    if (p < 1) p = 1;
    if (p > page_count(doc)) p = page_count(doc);
    r.current_page = int16_t(p);
    load_page(doc, p);

    r.reload_current = true;
    r.redraw = true;
    r.status_and_toolbar = true;
    r.finished = true;
    return r;
}

long long message_text_number(const std::string& text) {
    return leading_number(text);
}

int progress_value(const std::string& text) {
    return int(std::clamp<long long>(message_text_number(text), 0, 100));
}

}  // namespace vell
