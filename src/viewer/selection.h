// Selecting text in the page area, the portable part: which characters a
// dragged rectangle takes, where the highlight goes, and where a point of
// the page area lies on the page.
//
// A character is selected when the centre of its box lies inside the
// rectangle, so part of a text can be selected; the boxes come from the
// page-text reader's character geometry, measured as the page is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/page_text.h"
#include "render/text_find.h"

namespace vell {

struct CopyInput;
struct CopyPlan;

// The characters whose box centre lies inside area (inches; its corners in
// any order), one part per text, in reading order. Characters whose centre
// lies outside their own text's rectangle (cut by a boxed text's box) are
// not shown and never selected.
std::vector<TextPart> select_in_rect(const PageText& page, const PageRect& area);

// Every shown character of the page.
std::vector<TextPart> select_all(const PageText& page);

// The rectangles (inches) the highlight covers: one a part.
std::vector<PageRect> selection_rects(const PageText& page, const std::vector<TextPart>& parts);

// Where a pixel of the page area lies on the page, in inches: the inverse
// of the copy (source origin, stretch, drawn zoom).
struct PagePoint {
    double x = 0;
    double y = 0;
};
PagePoint area_to_page(const CopyInput& input, const CopyPlan& plan, int x, int y);

// The selection of the viewer window: the page and zoom it was made at,
// the page's texts with their characters (active once they are read), and
// what is selected. A page or zoom change drops it all; Esc and a new find
// clear what is selected.
struct Selection {
    bool active = false;
    int16_t page = 0;
    double zoom = 0;
    PageText text;
    std::vector<TextPart> parts;
};
Selection& selection();

// True when the selection is there and still belongs to the page and zoom
// shown; a stale one is cleared on the way.
bool selection_current(int16_t page, double zoom);

}  // namespace vell
