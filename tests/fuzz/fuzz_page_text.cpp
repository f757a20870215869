// Reading the texts of arbitrary page bytes and finding a text in them:
// nothing may crash or read outside the page, a page that the page-bytes
// filter passes over holds no match, and the measuring surface is left as
// it was found.
#include <string>

#include "render/page_text.h"
#include "render/recording_surface.h"
#include "render/text_find.h"
#include "viewer/selection.h"
#include "viewer/selection_copy.h"

using namespace vell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PageSource page;
    page.bytes = data;
    page.size = size;
    page.page_number = 3;
    page.page_count = 12;
    RecordingSurface measure({96, 96}, {96, 96});
    const PageText text = read_page_text(page, measure, size > 2 && (data[2] & 8));
    if (measure.live_objects() != 0 || !measure.problems().empty()) __builtin_trap();

    // The needle: the first two bytes, case and words from the third.
    const std::string needle(reinterpret_cast<const char*>(data), size < 2 ? size : 2);
    const FindOptions options{size > 2 && (data[2] & 1), size > 2 && (data[2] & 2)};
    // Pages the filter passes over never hold a match.
    TextMatch match;
    if (!PageBytesFilter(needle, options).may_match(data, size) &&
        PageMatcher(needle, options).first_from(text, TextPlace{}, &match))
        __builtin_trap();

    DocumentSearch search(needle, options, size > 2 && (data[2] & 4), 3, 2, nullptr);
    while (!search.finished()) {
        if (!search.worth_reading(data, size)) {
            search.pass();
            continue;
        }
        if (search.look(text)) {
            for (const TextPart& part : match_parts(text, search.match())) {
                if (part.item < 0 || size_t(part.item) >= text.items.size()) __builtin_trap();
                const PageTextItem& item = text.items[size_t(part.item)];
                if (part.offset + part.count > item.text.size()) __builtin_trap();
                const PageRect r = text_part_rect(measure, text, item, part.offset, part.count);
                if (!(r.right >= r.left) || !(r.bottom >= r.top)) __builtin_trap();
            }
        }
    }
    // Selecting every character and laying the selection out as text and
    // an HTML table stays within the texts.
    const std::vector<TextPart> parts = select_all(text);
    for (const TextPart& part : parts)
        if (part.offset + part.count > text.items[size_t(part.item)].text.size()) __builtin_trap();
    lines_as_clipboard_html(selection_lines(text, parts));
    return 0;
}
