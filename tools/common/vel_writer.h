// Composes vell documents in memory: what a generator writes.
//
// Used by vellmake (from JSON), the demo generator, the tests and the
// benchmarks. The writer keeps what the format binds a writer to: the pages
// stored one after another in page order, the page index right after the
// last page, every position 1-based from the document's first byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/bytes.h"

namespace vell {

// Builds the record stream of one page. Every method appends one record with
// its opcode, operand block and trailing text or data. Values the record
// layout cannot hold (a text over 32767 bytes, a reserved block other than
// 20 bytes, a settings opcode other than 14 or 15, more than six settings
// texts) throw std::invalid_argument.
class PageBuilder {
public:
    PageBuilder(int16_t paper_size = 1, int16_t orientation = 0, int16_t paper_source = 7);

    PageBuilder& aligned_text(float x, float y, int16_t alignment, const std::string& text);
    PageBuilder& rotated_text(float x, float y, int16_t angle, const std::string& text);
    PageBuilder& page_number(float x, float y, int16_t alignment, int16_t angle);
    PageBuilder& page_total(float x, float y, int16_t alignment, int16_t angle);
    PageBuilder& line(float x1, float y1, float x2, float y2, float width, uint32_t colour);
    PageBuilder& box(float x1, float y1, float x2, float y2, float border_width,
                     uint32_t fill_colour, uint32_t border_colour);
    PageBuilder& font(int16_t style, float size, uint32_t colour, const std::string& face);
    PageBuilder& picture_file(float x1, float y1, float x2, float y2, const std::string& path);
    PageBuilder& window_label(int16_t label, const std::string& text);
    PageBuilder& embedded_picture(float x1, float y1, float x2, float y2, const Bytes& bitmap_file);
    PageBuilder& reserved(const Bytes& block20);
    // Settings record (opcode 14 or 15): 8 uninterpreted bytes, six lengths,
    // six texts.
    PageBuilder& settings(int16_t opcode, const std::vector<std::string>& six_texts);
    PageBuilder& boxed_text(float x, float y, float width, int16_t alignment, const std::string& text);
    PageBuilder& wrapped_text(float left, float top, float right, float bottom, const std::string& text);
    PageBuilder& end_of_page(int16_t opcode = 1);
    // Raw bytes, for tests that need malformed records.
    PageBuilder& raw(const Bytes& bytes);

    // The page bytes: leading word, page header, records.
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

struct IndexEntryPlan {
    int16_t page = 0;
    std::string name;
};

struct EmailPlan {
    int32_t show_dialog = 0;
    int32_t attach_as_viewer = 0;
    std::string profile, password, names, addresses, subject, text;
};

struct FaxPlan {
    int32_t show_dialog = 0;
    std::string profile, password, recipients, subject, text;
};

struct LabelOverridePlan {
    int label = 0;  // one of 11, 12, 18, 19, 20, 21, 22, 23
    std::string text;
};

// Everything a document holds. Header fields that the writer derives (page
// count, positions) are filled in by write_document.
struct DocumentPlan {
    std::string title;
    int16_t delete_when_closed = 0;
    int16_t embedded = 0;
    int16_t fax_allowed = 0;
    int16_t email_allowed = 0;
    int16_t save_allowed = 0;
    int32_t initial_zoom = 0;
    int32_t display_option = 0;
    int32_t copy_flag = 0;
    int32_t builder_window = 0;
    int32_t stub_length = 0;
    std::string password;  // plain; stored enciphered with itself as key
    std::vector<Bytes> pages;
    std::vector<IndexEntryPlan> index;
    bool has_email = false;
    EmailPlan email;
    bool has_fax = false;
    FaxPlan fax;
    std::vector<LabelOverridePlan> labels;
};

// Header offset that holds the override position for a label number, or -1
// when that label cannot be overridden through the header.
int label_override_offset(int label);

// Composes the whole document. Layout: header, pages, page index, document
// index, e-mail block, fax block, label override records. Derived header
// fields (page count, index count, every position) are computed; a document
// index position is 0 when there are no entries. The password is stored as
// cipher(P, P) with its length. Throws std::invalid_argument for what the
// format cannot hold: a title over 100 bytes, a password over 20 characters,
// a text or index name over 32767 bytes, a label that has no header slot, a
// document over 2^31 - 1 bytes.
Bytes write_document(const DocumentPlan& plan);

// Writes bytes to a file; false when the file cannot be written.
bool write_file(const std::string& path, const Bytes& bytes);
bool read_file(const std::string& path, Bytes* bytes);

}  // namespace vell
