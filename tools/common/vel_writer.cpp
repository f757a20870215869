// Composes vell documents: page records, the header, the indexes, the
// settings blocks and the label override records, all little-endian.
#include "vel_writer.h"

#include <climits>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "document/cipher.h"
#include "document/file_io.h"
#include "document/format.h"

namespace vell {

namespace {

// Every variable text of the format carries an i16 byte count; a longer
// text cannot be stored, and cutting it silently would hide the caller's
// mistake.
int16_t text_length(const std::string& text, const char* what) {
    if (text.size() > 32767)
        throw std::invalid_argument(std::string(what) + " is longer than 32767 bytes");
    return int16_t(text.size());
}

void append_floats(Bytes& b, std::initializer_list<float> values) {
    for (float v : values) append_f32(b, v);
}

}  // namespace

// ---- Page records ------------------------------------------------------

PageBuilder::PageBuilder(int16_t paper_size, int16_t orientation, int16_t paper_source) {
    append_i16(bytes_, 0);  // leading word, not interpreted by readers
    append_i16(bytes_, paper_size);
    append_i16(bytes_, orientation);
    append_i16(bytes_, paper_source);
    append_i16(bytes_, 0);
    append_i16(bytes_, 0);
}

PageBuilder& PageBuilder::aligned_text(float x, float y, int16_t alignment, const std::string& text) {
    int16_t n = text_length(text, "text");
    append_i16(bytes_, kOpAlignedText);
    append_floats(bytes_, {x, y});
    append_i16(bytes_, alignment);
    append_i16(bytes_, n);
    append_text(bytes_, text);
    return *this;
}

PageBuilder& PageBuilder::rotated_text(float x, float y, int16_t angle, const std::string& text) {
    int16_t n = text_length(text, "text");
    append_i16(bytes_, kOpRotatedText);
    append_floats(bytes_, {x, y});
    append_i16(bytes_, angle);
    append_i16(bytes_, n);
    append_text(bytes_, text);
    return *this;
}

PageBuilder& PageBuilder::page_number(float x, float y, int16_t alignment, int16_t angle) {
    append_i16(bytes_, kOpPageNumber);
    append_floats(bytes_, {x, y});
    append_i16(bytes_, alignment);
    append_i16(bytes_, angle);
    return *this;
}

PageBuilder& PageBuilder::page_total(float x, float y, int16_t alignment, int16_t angle) {
    append_i16(bytes_, kOpPageTotal);
    append_floats(bytes_, {x, y});
    append_i16(bytes_, alignment);
    append_i16(bytes_, angle);
    return *this;
}

PageBuilder& PageBuilder::line(float x1, float y1, float x2, float y2, float width, uint32_t colour) {
    append_i16(bytes_, kOpLine);
    append_floats(bytes_, {x1, y1, x2, y2, width});
    append_i16(bytes_, 0);  // reserved
    append_u32(bytes_, colour);
    return *this;
}

PageBuilder& PageBuilder::box(float x1, float y1, float x2, float y2, float border_width,
                              uint32_t fill_colour, uint32_t border_colour) {
    append_i16(bytes_, kOpBox);
    append_floats(bytes_, {x1, y1, x2, y2, border_width});
    append_i16(bytes_, 0);  // reserved
    append_u32(bytes_, fill_colour);
    append_u32(bytes_, border_colour);
    return *this;
}

PageBuilder& PageBuilder::font(int16_t style, float size, uint32_t colour, const std::string& face) {
    int16_t n = text_length(face, "font face name");
    append_i16(bytes_, kOpFont);
    append_i16(bytes_, style);
    append_f32(bytes_, size);
    append_u32(bytes_, colour);
    append_i16(bytes_, n);
    append_text(bytes_, face);
    return *this;
}

PageBuilder& PageBuilder::picture_file(float x1, float y1, float x2, float y2, const std::string& path) {
    int16_t n = text_length(path, "picture path");
    append_i16(bytes_, kOpPictureFile);
    append_floats(bytes_, {x1, y1, x2, y2});
    append_i16(bytes_, n);
    append_text(bytes_, path);
    return *this;
}

PageBuilder& PageBuilder::window_label(int16_t label, const std::string& text) {
    int16_t n = text_length(text, "window label text");
    append_i16(bytes_, kOpWindowLabel);
    append_i16(bytes_, label);
    append_i16(bytes_, n);
    append_text(bytes_, text);
    return *this;
}

PageBuilder& PageBuilder::embedded_picture(float x1, float y1, float x2, float y2,
                                           const Bytes& bitmap_file) {
    if (bitmap_file.size() > size_t(INT32_MAX))
        throw std::invalid_argument("embedded picture is larger than 2^31 - 1 bytes");
    append_i16(bytes_, kOpEmbeddedPicture);
    append_floats(bytes_, {x1, y1, x2, y2});
    append_i32(bytes_, int32_t(bitmap_file.size()));
    bytes_.insert(bytes_.end(), bitmap_file.begin(), bitmap_file.end());
    return *this;
}

PageBuilder& PageBuilder::reserved(const Bytes& block20) {
    if (block20.size() != 20)
        throw std::invalid_argument("a reserved record's block is exactly 20 bytes");
    append_i16(bytes_, kOpReserved);
    bytes_.insert(bytes_.end(), block20.begin(), block20.end());
    return *this;
}

PageBuilder& PageBuilder::settings(int16_t opcode, const std::vector<std::string>& six_texts) {
    if (opcode != kOpSettings14 && opcode != kOpSettings15)
        throw std::invalid_argument("a settings record has opcode 14 or 15");
    if (six_texts.size() > 6)
        throw std::invalid_argument("a settings record holds at most six texts");
    int16_t lengths[6] = {};
    for (size_t i = 0; i < six_texts.size(); ++i) lengths[i] = text_length(six_texts[i], "settings text");
    append_i16(bytes_, opcode);
    bytes_.insert(bytes_.end(), 8, 0);  // not interpreted inside a page
    for (int16_t n : lengths) append_i16(bytes_, n);
    for (const std::string& t : six_texts) append_text(bytes_, t);
    return *this;
}

PageBuilder& PageBuilder::boxed_text(float x, float y, float width, int16_t alignment,
                                     const std::string& text) {
    int16_t n = text_length(text, "text");
    append_i16(bytes_, kOpBoxedText);
    append_floats(bytes_, {x, y, width});
    append_i16(bytes_, alignment);
    append_i16(bytes_, n);
    append_text(bytes_, text);
    return *this;
}

PageBuilder& PageBuilder::wrapped_text(float left, float top, float right, float bottom,
                                       const std::string& text) {
    int16_t n = text_length(text, "text");
    append_i16(bytes_, kOpWrappedText);
    append_floats(bytes_, {left, top, right, bottom});
    append_i16(bytes_, n);
    append_text(bytes_, text);
    return *this;
}

PageBuilder& PageBuilder::end_of_page(int16_t opcode) {
    append_i16(bytes_, opcode);
    return *this;
}

PageBuilder& PageBuilder::raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

// ---- Documents ---------------------------------------------------------

int label_override_offset(int label) {
    switch (label) {
    case 20: return hdr::kLabel20;
    case 21: return hdr::kLabel21;
    case 22: return hdr::kLabel22;
    case 23: return hdr::kLabel23;
    case 19: return hdr::kLabel19;
    case 18: return hdr::kLabel18;
    case 11: return hdr::kLabel11;
    case 12: return hdr::kLabel12;
    default: return -1;
    }
}

Bytes write_document(const DocumentPlan& plan) {
    if (plan.title.size() > size_t(kTitleSize))
        throw std::invalid_argument("document title is longer than 100 bytes");
    if (plan.password.size() > size_t(kPasswordFieldSize))
        throw std::invalid_argument("password is longer than 20 characters");
    if (plan.index.size() > size_t(INT32_MAX))
        throw std::invalid_argument("too many document index entries");
    for (const LabelOverridePlan& l : plan.labels)
        if (label_override_offset(l.label) < 0)
            throw std::invalid_argument("label " + std::to_string(l.label) + " cannot be overridden");

    Bytes doc(kHeaderSize, 0);
    auto position = [&doc]() -> int64_t { return int64_t(doc.size()) + 1; };

    // Pages, one after another, then the page index right after the last.
    std::vector<int32_t> page_positions;
    for (const Bytes& page : plan.pages) {
        if (position() > INT32_MAX) break;  // caught by the size check below
        page_positions.push_back(int32_t(position()));
        doc.insert(doc.end(), page.begin(), page.end());
    }
    const int64_t page_index_pos = position();
    for (int32_t p : page_positions) append_i32(doc, p);

    const int64_t doc_index_pos = plan.index.empty() ? 0 : position();
    for (const IndexEntryPlan& e : plan.index) {
        int16_t n = text_length(e.name, "document index name");
        append_i16(doc, e.page);
        append_i16(doc, n);
        append_text(doc, e.name);
    }

    // The settings blocks' lead word is skipped by readers; it holds the
    // kind of the page record whose layout the block shares.
    int64_t email_pos = 0;
    if (plan.has_email) {
        const EmailPlan& e = plan.email;
        const std::string* texts[6] = {&e.profile, &e.password, &e.names,
                                       &e.addresses, &e.subject, &e.text};
        email_pos = position();
        append_i16(doc, kOpSettings14);
        append_i32(doc, e.show_dialog);
        append_i32(doc, e.attach_as_viewer);
        for (const std::string* t : texts) append_i16(doc, text_length(*t, "e-mail text"));
        for (const std::string* t : texts) append_text(doc, *t);
    }

    int64_t fax_pos = 0;
    if (plan.has_fax) {
        const FaxPlan& f = plan.fax;
        const std::string* texts[5] = {&f.profile, &f.password, &f.recipients, &f.subject, &f.text};
        fax_pos = position();
        append_i16(doc, kOpSettings15);
        append_i32(doc, f.show_dialog);
        append_i32(doc, 0);  // reserved
        for (int i = 0; i < 3; ++i) append_i16(doc, text_length(*texts[i], "fax text"));
        append_i16(doc, 0);  // where the e-mail block has its addresses' length
        for (int i = 3; i < 5; ++i) append_i16(doc, text_length(*texts[i], "fax text"));
        for (const std::string* t : texts) append_text(doc, *t);
    }

    std::vector<std::pair<int, int64_t>> label_positions;
    for (const LabelOverridePlan& l : plan.labels) {
        int16_t n = text_length(l.text, "label text");
        label_positions.emplace_back(label_override_offset(l.label), position());
        append_i16(doc, kOpWindowLabel);
        append_i16(doc, int16_t(l.label));
        append_i16(doc, n);
        append_text(doc, l.text);
    }

    // Every position is an i32, so the document cannot pass 2^31 - 1 bytes.
    if (doc.size() > size_t(INT32_MAX))
        throw std::invalid_argument("document is larger than 2^31 - 1 bytes");

    uint8_t* h = doc.data();
    const size_t hs = kHeaderSize;
    std::memcpy(h + hdr::kSignature, kSignature, 4);
    std::memcpy(h + hdr::kTitle, plan.title.data(), plan.title.size());
    put_i16(h, hs, hdr::kDeleteWhenClosed, plan.delete_when_closed);
    put_i16(h, hs, hdr::kEmbedded, plan.embedded);
    put_i16(h, hs, hdr::kFaxAllowed, plan.fax_allowed);
    put_i16(h, hs, hdr::kEmailAllowed, plan.email_allowed);
    put_i16(h, hs, hdr::kSaveAllowed, plan.save_allowed);
    put_i32(h, hs, hdr::kInitialZoom, plan.initial_zoom);
    put_i32(h, hs, hdr::kPageCount, int32_t(page_positions.size()));
    put_i32(h, hs, hdr::kIndexCount, int32_t(plan.index.size()));
    put_i32(h, hs, hdr::kPageIndexPos, int32_t(page_index_pos));
    put_i32(h, hs, hdr::kDocIndexPos, int32_t(doc_index_pos));
    if (!plan.password.empty()) {
        // Stored enciphered with itself as key; the viewer deciphers the
        // stored bytes with the typed text and compares.
        std::string stored = cipher(plan.password, plan.password);
        put_i16(h, hs, hdr::kPasswordLength, int16_t(plan.password.size()));
        std::memcpy(h + hdr::kPassword, stored.data(), stored.size());
    }
    put_i32(h, hs, hdr::kStubLength, plan.stub_length);
    for (const auto& lp : label_positions) put_i32(h, hs, size_t(lp.first), int32_t(lp.second));
    put_i32(h, hs, hdr::kDisplayOption, plan.display_option);
    put_i32(h, hs, hdr::kFaxPos, int32_t(fax_pos));
    put_i32(h, hs, hdr::kEmailPos, int32_t(email_pos));
    put_i32(h, hs, hdr::kCopyFlag, plan.copy_flag);
    put_i32(h, hs, hdr::kBuilderWindow, plan.builder_window);
    return doc;
}

bool write_file(const std::string& path, const Bytes& bytes) {
    File file;
    if (!file.create_always(path)) return false;
    return bytes.empty() || file.write_at(0, bytes.data(), bytes.size());
}

bool read_file(const std::string& path, Bytes* bytes) {
    File file;
    if (!bytes || !file.open_read(path)) return false;
    int64_t size = file.size();
    if (size < 0) return false;
    bytes->assign(size_t(size), 0);
    return size == 0 || file.read_at(0, bytes->data(), bytes->size()) == bytes->size();
}

}  // namespace vell
