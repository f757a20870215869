// The one open document of the process: file, header, page index, document
// index, e-mail and fax settings, and the one loaded page.
//
// Only one page's bytes are held in memory at a time; the page index and the
// document index are read once at start-up (and again when a building
// document is finished). Reads past the end of the file yield zeros.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/bytes.h"
#include "document/file_io.h"
#include "document/format.h"

namespace vell {

struct IndexEntry {
    int16_t page = 0;
    std::string name;  // at most kIndexNameSize bytes, as stored
};

struct EmailSettings {
    bool present = false;
    int32_t show_dialog = 0;
    int32_t attach_as_viewer = 0;
    std::string profile, password, names, addresses, subject, text;
};

struct FaxSettings {
    bool present = false;
    int32_t show_dialog = 0;
    std::string profile, password, recipients, subject, text;
};

enum class HeaderCheck {
    kDocument,       // signature "300A"
    kNotDocument,    // any other signature
};

struct Document {
    std::string path;  // full path, made so when the document is opened
    File file;
    int32_t base = 0;  // file offset of the document's first byte
    uint8_t header[kHeaderSize] = {};
    bool validated = false;  // set by start-up when the header passed validation
    std::vector<int32_t> page_positions;  // entry i-1 is page i's position
    std::vector<IndexEntry> index;
    EmailSettings email;
    FaxSettings fax;
    Bytes page;               // bytes of the loaded page
    int32_t page_number = 0;  // number of the loaded page; 0 when none
    bool building = false;
    int32_t pages_received = 0;
    // Set at start-up for a copy or a document inside a self-extracting
    // viewer: save, e-mail and fax stay refused through every later header
    // read (apply_copy_restriction).
    bool copy_restricted = false;
};

// The document of this process.
Document& the_document();

// Header field access on the in-memory header.
int16_t header_i16(const Document& doc, int offset);
int32_t header_i32(const Document& doc, int offset);
void set_header_i16(Document& doc, int offset, int16_t value);
void set_header_i32(Document& doc, int offset, int32_t value);
std::string document_title(const Document& doc);  // trimmed, may be empty
// The page count N as every part of the viewer uses it: the header's field,
// never below 0 and never above kMaxPages. While building it is the pages
// received: until the first page message the header's field is whatever
// the generator wrote before it knew the pages.
int32_t page_count(const Document& doc);

// Clears the save, fax and e-mail allowed fields of the in-memory header
// when the document is copy_restricted; called after every header read.
void apply_copy_restriction(Document& doc);

// Opens the file shared for reading and writing, else reading only. Clears
// everything read from a previous file (the building flag stays as set).
bool open_document(Document& doc, const std::string& path, int32_t base);
void close_document(Document& doc);

// Reads the 260-byte header at file offset base. When the signature is not
// "300A" the in-memory title is cleared. Leaves `validated` alone.
HeaderCheck read_header(Document& doc);

// True when the header announces more pages than the viewer's page numbers
// can reach; start-up refuses such a complete document.
bool too_many_pages(const Document& doc);

// Reads the e-mail and fax settings blocks and sets the allowed flags of the
// header for the blocks that are present.
void read_settings(Document& doc);

// Reads the page index (empty while building or when N < 1; at most
// kMaxPages entries).
void read_page_index(Document& doc);

// Reads the document index (empty while building, when M < 1 or when its
// position is below 1). Names are kept as stored, cut to kIndexNameSize
// bytes. Reading stops at the end of the file, whatever M claims.
void read_document_index(Document& doc);

// Reads the text of a label override record at a document position; empty
// when the position is at or below the threshold. found tells which.
std::string read_label_override(const Document& doc, int32_t position, bool* found);

// Loads page p, always from the file; an out-of-range page leaves an empty
// page and number 0. A malformed page (end before start, start below 1) is
// loaded as page p with no bytes; a page that runs past the end of the file
// holds only the bytes the file has.
void load_page(Document& doc, int32_t p);
void unload_page(Document& doc);

// Copies count bytes of the loaded page from offset into dest (zeros for
// bytes past the page's end); returns offset + count, or 0 with no page.
// A count of 0 or less copies nothing and returns offset.
int32_t copy_page_bytes(const Document& doc, int32_t offset, int32_t count, void* dest);

// count bytes of the loaded page from offset as text; only existing bytes.
std::string page_text(const Document& doc, int32_t offset, int32_t count);

// The 10-byte page header of page p, read straight from the file (zeros
// for a page out of range and for fields beyond the page's own bytes).
struct PageHeader {
    int16_t paper_size = 0;
    int16_t orientation = 0;
    int16_t paper_source = 0;
    int16_t reserved1 = 0;
    int16_t reserved2 = 0;
};
PageHeader parse_page_header(const uint8_t* page, size_t size);
PageHeader read_page_header(const Document& doc, int32_t p);

// Position and byte length of page p (1-based) from the page index, as the
// index claims them (load_page cuts at the end of the file); length 0 for
// pages out of range or malformed (end before start, start below 1).
struct PageSpan {
    int32_t position = 0;
    int32_t length = 0;
};
PageSpan page_span(const Document& doc, int32_t p);

// ---- Building messages -------------------------------------------------
// What a building message changed and what the viewer window must refresh.
// The document side is done by the handlers themselves: they re-read the
// header, extend or re-read the indexes and load the page the viewer shows.
struct BuildingRefresh {
    bool make_first_current = false;  // the viewer's current page becomes 1
    bool reload_current = false;      // the current page's bytes were loaded anew
    bool redraw = false;              // rebuild the page image
    bool status_and_toolbar = false;  // update status bar and navigation buttons
    bool finished = false;  // hide progress, prune menu, fill index box
    int16_t current_page = 0;  // the current page after the message
};

// Message 100: a page at position has been written completely. Ignored
// (nothing to refresh) when the document is not building or already has
// kMaxPages pages.
BuildingRefresh on_page_added(Document& doc, int32_t position, int16_t current_page);
// Message 101: the document is complete. Ignored when not building.
BuildingRefresh on_building_finished(Document& doc, int16_t current_page);
// Message 102: progress value from the message text, limited to 0..100.
int progress_value(const std::string& text);
// Numbers in message texts: decimal, rounded down.
long long message_text_number(const std::string& text);

}  // namespace vell
