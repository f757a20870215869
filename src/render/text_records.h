// The six text records of a page: aligned text, rotated text, page number,
// page total, boxed text and wrapped text. Each draws in the device
// context's text colour, with the background mode transparent.
#pragma once

#include <string>

#include "render/records.h"
#include "render/render_state.h"

namespace vell {

// Text alignments of aligned text, page numbers and boxed text.
namespace text_align {
constexpr int16_t kLeft = 0;
constexpr int16_t kCentre = 1;
constexpr int16_t kRight = 2;
constexpr int16_t kDecimal = 3;
}  // namespace text_align

// How far aligned text moves left of its x: the width of the first n
// characters of the text as stored, n being the length of the text once
// blanks are removed at both ends; half of it (rounded down) when centred;
// for decimal alignment the width up to and including the first separator
// when it stands after the first character, else the whole width.
int aligned_text_shift(Surface& surface, const std::string& text, int16_t alignment,
                       char decimal_separator);

void draw_aligned_text(RenderState& state, const PageRecord& record);   // record 2
void draw_rotated_text(RenderState& state, const PageRecord& record);   // record 3
void draw_page_number(RenderState& state, const PageRecord& record);    // records 4 and 10
void draw_boxed_text(RenderState& state, const PageRecord& record);     // record 16
void draw_wrapped_text(RenderState& state, const PageRecord& record);   // record 17

// The box that boxed text fills and clips to, and the anchor it draws at.
struct BoxedTextLayout {
    unsigned align = 0;  // SetTextAlign value for the call
    int anchor_x = 0;
    int anchor_y = 0;
    SurfaceRect box;
};
BoxedTextLayout boxed_text_layout(const DeviceMapping& mapping, const TextMetrics& metrics,
                                  float x, float y, float width, int16_t alignment);

}  // namespace vell
