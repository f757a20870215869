#include "render/text_records.h"

#include <string>

#include "document/text.h"
#include "render/fonts.h"

namespace vell {

namespace {

// GetTextExtentPoint32A's cx over the first count characters.
int width_of(Surface& surface, const std::string& text, size_t count) {
    if (count > text.size()) count = text.size();
    return surface.text_extent(text.data(), int(count)).cx;
}

// Rotated text: a font from the font settings at this angle for one call,
// in the font settings' colour, turning about the top-left corner of the
// first character cell.
void draw_rotated(RenderState& state, float x, float y, int16_t angle, const std::string& text) {
    Surface& surface = *state.surface;
    const FontSettings& settings = state.font;
    SurfaceHandle rotated = make_font(surface, settings.face, settings.style,
                                      double(settings.size) * state.mapping.zoom, angle);
    // A font that cannot be made leaves the current font in and the text
    // is drawn in it.
    SurfaceHandle current = rotated ? surface.select_object(rotated) : 0;
    surface.set_text_color(settings.colour);
    surface.text_out(state.mapping.map_x(x), state.mapping.map_y(y), text.data(), int(text.size()));
    if (current) surface.select_object(current);
    if (rotated) surface.delete_object(rotated);
}

}  // namespace

int aligned_text_shift(Surface& surface, const std::string& text, int16_t alignment,
                       char decimal_separator) {
    if (alignment != text_align::kCentre && alignment != text_align::kRight &&
        alignment != text_align::kDecimal)
        return 0;
    // The text with blanks removed at both ends, as a part of the text.
    const size_t first = text.find_first_not_of(' ');
    const size_t trimmed_start = first == std::string::npos ? text.size() : first;
    const size_t trimmed_length =
        first == std::string::npos ? 0 : text.find_last_not_of(' ') - trimmed_start + 1;
    if (alignment == text_align::kDecimal) {
        // The separator's 1-based position in the text as stored; the shift
        // then measures the trimmed text up to and including it, so the
        // separator's right edge lands on x.
        const size_t found = text.find(decimal_separator);
        const size_t p = found == std::string::npos ? 0 : found + 1;
        if (p > 1) {
            const size_t count = p < trimmed_length ? p : trimmed_length;
            return surface.text_extent(text.data() + trimmed_start, int(count)).cx;
        }
    }
    const int whole = width_of(surface, text, trimmed_length);
    return alignment == text_align::kCentre ? whole / 2 : whole;
}

void draw_aligned_text(RenderState& state, const PageRecord& record) {
    const std::string text = drawn_text(record.data);
    int shift = aligned_text_shift(*state.surface, text, record.alignment, state.decimal_separator);
    state.surface->text_out(saturated_sum(state.mapping.map_x(record.x1), -shift), state.mapping.map_y(record.y1),
                            text.data(), int(text.size()));
}

void draw_rotated_text(RenderState& state, const PageRecord& record) {
    draw_rotated(state, record.x1, record.y1, record.angle, drawn_text(record.data));
}

void draw_page_number(RenderState& state, const PageRecord& record) {
    const int32_t number = record.opcode == kOpPageTotal ? state.page_count : state.page_number;
    const std::string text = std::to_string(number);
    if (record.angle != 0) {
        draw_rotated(state, record.x1, record.y1, record.angle, text);
        return;
    }
    // Numbers align left, centred or right; there is no decimal alignment.
    int shift = 0;
    if (record.alignment == text_align::kRight) shift = width_of(*state.surface, text, text.size());
    if (record.alignment == text_align::kCentre) shift = width_of(*state.surface, text, text.size()) / 2;
    state.surface->text_out(saturated_sum(state.mapping.map_x(record.x1), -shift), state.mapping.map_y(record.y1),
                            text.data(), int(text.size()));
}

BoxedTextLayout boxed_text_layout(const DeviceMapping& mapping, const TextMetrics& metrics,
                                  float x, float y, float width, int16_t alignment) {
    BoxedTextLayout layout;
    const int line_height = metrics.height + metrics.internal_leading + metrics.external_leading;
    layout.box.top = mapping.map_y(y);
    layout.box.bottom = saturated_sum(layout.box.top, round_half_even(mapping.zoom * line_height));
    if (alignment == text_align::kRight) {
        layout.align = gdi::kTaRight;
        layout.box.left = mapping.map_x(double(x) - double(width));
    } else if (alignment == text_align::kCentre) {
        layout.align = gdi::kTaCenter;
        layout.box.left = mapping.map_x(double(x) - 0.5 * double(width));
    } else {
        layout.align = gdi::kTaLeftTop;
        layout.box.left = mapping.map_x(x);
    }
    layout.box.right = saturated_sum(layout.box.left, mapping.length_x(width));
    layout.anchor_x = mapping.map_x(x);
    layout.anchor_y = mapping.map_y(y);
    return layout;
}

void draw_boxed_text(RenderState& state, const PageRecord& record) {
    Surface& surface = *state.surface;
    const std::string text = drawn_text(record.data);
    BoxedTextLayout layout = boxed_text_layout(state.mapping, surface.text_metrics(), record.x1,
                                               record.y1, record.width, record.alignment);
    surface.set_text_align(layout.align);
    // Opaque: the box is filled with the background colour, which rendering
    // never sets (white on a new device context); clipped: the text is cut
    // at the box's edges.
    surface.ext_text_out(layout.anchor_x, layout.anchor_y, gdi::kEtoOpaque | gdi::kEtoClipped,
                         &layout.box, text.data(), int(text.size()));
    surface.set_text_align(gdi::kTaLeftTop);
}

void draw_wrapped_text(RenderState& state, const PageRecord& record) {
    const std::string text = drawn_text(record.data);
    const DeviceMapping& m = state.mapping;
    SurfaceRect rect{m.map_x(record.x1), m.map_y(record.y1), m.map_x(record.x2), m.map_y(record.y2)};
    // Windows breaks the lines at word boundaries to the rectangle's width;
    // without DT_NOCLIP what does not fit is cut at the rectangle's bottom.
    state.surface->draw_text_ex(text.c_str(), &rect, gdi::kDtWordBreak | gdi::kDtEditControl);
}

}  // namespace vell
