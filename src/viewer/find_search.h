// Find in the viewer, the portable part: what was asked for last, the match
// shown, and a search that reads the document one page at a time without
// disturbing the page the document holds for display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/bytes.h"
#include "render/page_text.h"
#include "render/text_find.h"

namespace vell {

struct Document;
struct CopyInput;
struct CopyPlan;

// The viewer's find: the latest query and the match the page area marks.
struct FindState {
    std::string text;
    FindOptions options;
    bool has_match = false;
    // The query changed since the match: the next search starts afresh.
    bool restart = false;
    TextMatch match;
    std::vector<PageRect> mark;  // inches on the match's page, one per piece
};
FindState& find_state();

// The bytes of page p for a search. The loaded page's own bytes when p is
// the loaded page; otherwise p is loaded into buffer and the loaded page is
// put back as it was, so display never sees another page than its own and
// only one page's bytes are held besides it.
const Bytes& search_page_bytes(Document& doc, int32_t p, Bytes& buffer);

// One search over a document, one page per step.
class PageSearchRun {
public:
    // measure: the surface texts are measured on (as the display measures).
    PageSearchRun(Document& doc, Surface& measure, const DocumentSearch& search);

    // Reads and looks at the next page; false once the search is finished.
    bool step();
    const DocumentSearch& search() const { return search_; }
    // How many pages had their texts read (the rest were passed over by
    // their bytes).
    int32_t pages_read() const { return pages_read_; }
    // The rectangles of the pieces the match spans on its page, once found.
    const std::vector<PageRect>& match_rects() const { return match_rects_; }

private:
    Document& doc_;
    Surface& measure_;
    DocumentSearch search_;
    Bytes buffer_;
    int32_t pages_read_ = 0;
    std::vector<PageRect> match_rects_;
};

// The rectangles of the pieces a match spans, measured again in their fonts.
std::vector<PageRect> rects_of_match(Surface& measure, const PageText& text, const TextMatch& match);

// The smallest rectangle around all of them (empty for none).
PageRect rect_around(const std::vector<PageRect>& rects);

// The status texts of find; the last three stand beside the page number.
std::string find_progress_text(int16_t page, int32_t page_count);
constexpr char kFindNotFound[] = "Not found";
constexpr char kFindStopped[] = "Search stopped";
constexpr char kFindWrapped[] = "(search wrapped around)";

// Documents of more pages than this show the search's progress.
constexpr int32_t kFindProgressPages = 300;

// The vertical (or horizontal) scroll position, 0..100 as the page area's
// bars count, that shows the span [first, last) of image pixels in an area
// of `area` pixels when the page overflows it by `overflow` pixels: the
// current position when the span is in view already, else one that puts it
// a third of the way down (or across).
int scroll_position_showing(int current, double first, double last, int overflow, int area);

// Where a rectangle of the page (inches) lies in the page area after a copy:
// the image holds the page at the drawn zoom, the copy starts at the plan's
// source origin and stretches when the plan says so.
SurfaceRect page_rect_in_area(const CopyInput& input, const CopyPlan& plan, const PageRect& rect);

// The bars' positions (0..100) that show a rectangle of the page, for the
// copy input as it is now.
struct ScrollPositions {
    int horizontal = 0;
    int vertical = 0;
};
ScrollPositions scroll_positions_showing(const CopyInput& input, const PageRect& rect);

}  // namespace vell
