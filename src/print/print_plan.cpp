#include "print/print_plan.h"

#include <algorithm>

#include "document/text.h"

namespace vell {

namespace {
uint16_t dialog_field(int32_t value) { return uint16_t(std::clamp<int32_t>(value, 0, 65535)); }
}  // namespace

PrintRange preset_range(int32_t page_count) {
    PrintRange range;
    range.first = 1;
    range.last = page_count;
    range.copies = 1;
    return range;
}

DialogPages dialog_pages(int32_t first, int32_t last, int32_t lowest, int32_t highest) {
    int32_t to = last;
    if (to > highest) to = highest;
    if (to < lowest) to = lowest;
    DialogPages pages;
    pages.from = dialog_field(std::max(first, lowest));
    pages.to = dialog_field(to);
    pages.min = dialog_field(lowest);
    pages.max = dialog_field(highest);
    return pages;
}

std::string print_status_text(int32_t page, int32_t last) {
    return std::to_string(page) + " of " + std::to_string(last);
}

std::string spooler_document_name(const std::string& title) {
    const std::string name = cut_text(trim(title), kDocumentNameLimit);
    return name.empty() ? std::string(kUntitledDocumentName) : name;
}

int32_t usable_resolution(int32_t reported) { return reported < 1 ? 96 : reported; }

}  // namespace vell
