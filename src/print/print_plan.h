// The arithmetic of a print job: which pages in which order, what the
// print dialog is opened with, what the status bar and the spooler are
// told, and which device values are taken at face value.
#pragma once

#include <cstdint>
#include <string>

namespace vell {

// Pages first..last (1-based), the whole range printed copies times.
struct PrintRange {
    int32_t first = 1;
    int32_t last = 1;
    int32_t copies = 1;
};

// Every page once: 1 to the page count, one copy.
PrintRange preset_range(int32_t page_count);

// What the print dialog shows in its page boxes: From is the larger of the
// first page and the lowest page; To is the last page lowered to the
// highest page and then raised to the lowest; the limits are the lowest
// and highest page. Each value is held to 0..65535, the range of the
// dialog's 16-bit fields.
struct DialogPages {
    uint16_t from = 0;
    uint16_t to = 0;
    uint16_t min = 0;
    uint16_t max = 0;
};
DialogPages dialog_pages(int32_t first, int32_t last, int32_t lowest, int32_t highest);

// Calls print(page) for each printed page in order: for every copy the
// whole range first..last, so each copy is a complete, ordered set.
// Nothing when copies is below 1 or first is above last. Page numbers
// outside the 16-bit page numbers are never produced: the range is held to
// 1..32767. print returns false to stop (the printer refuses pages);
// the result is false when it was stopped.
template <typename PrintPage>
bool for_each_printed_page(const PrintRange& range, PrintPage print);

// The status text while a page prints: "3 of 12", no blanks around the
// numbers.
std::string print_status_text(int32_t page, int32_t last);

// The name the spooler gets: the document title trimmed of blanks and cut
// at 255 characters, or "vell Document" when that is empty.
constexpr char kUntitledDocumentName[] = "vell Document";
constexpr size_t kDocumentNameLimit = 255;
std::string spooler_document_name(const std::string& title);

// A printer resolution as rendering may use it: a device that reports
// none (below 1 pixel per inch) would have every page drawn into a single
// point, so it is taken as 96, the same assumption the screen falls back to.
int32_t usable_resolution(int32_t reported);

// ---- Template definition ----------------------------------------------------

constexpr int32_t kHighestPrintablePage = 32767;

template <typename PrintPage>
bool for_each_printed_page(const PrintRange& range, PrintPage print) {
    const int32_t first = range.first < 1 ? 1 : range.first;
    const int32_t last = range.last > kHighestPrintablePage ? kHighestPrintablePage : range.last;
    for (int32_t copy = 1; copy <= range.copies; ++copy) {
        // A 32-bit counter: a range that ends at page 32767 must not wrap.
        for (int32_t page = first; page <= last; ++page)
            if (!print(int16_t(page))) return false;
    }
    return true;
}

}  // namespace vell
