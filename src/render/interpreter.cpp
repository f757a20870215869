#include "render/interpreter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "document/document.h"
#include "document/format.h"
#include "document/text.h"
#include "render/fonts.h"
#include "render/pictures.h"
#include "render/records.h"
#include "render/render_state.h"
#include "render/text_records.h"
#include "render/units.h"
#include "render/unknown_notice.h"
#include "ui_text/labels.h"

namespace vell {

namespace {

// The hooks are set by name: a new hook in the middle of the struct must not
// take another's place.
RenderHooks platform_hooks() {
    RenderHooks hooks;
    hooks.show_notice = show_notice_platform;
    hooks.picture_notice = show_notice_platform;
    return hooks;
}

}  // namespace

RenderHooks& render_hooks() {
    static RenderHooks hooks = platform_hooks();
    return hooks;
}

void set_page_printer_settings(uint8_t* block, int16_t paper_size, int16_t orientation,
                               int16_t paper_source) {
    const size_t n = kPrinterSettingsSize;
    put_u32(block, n, devmode::kFields, devmode::kPageFields);
    put_i16(block, n, devmode::kOrientation,
            orientation == 1 ? devmode::kLandscape : devmode::kPortrait);
    put_i16(block, n, devmode::kPaperSize,
            paper_size >= 1 && paper_size <= 41 ? paper_size : devmode::kPaperLetter);
    put_i16(block, n, devmode::kDefaultSource,
            paper_source >= 1 && paper_source <= 14 ? paper_source : devmode::kBinAuto);
}

namespace {

// The printer's page: its own paper, orientation and source, a reset
// device context, a started page and the single blank at the origin.
void start_printer_page(Surface& surface, const PageHeader& header, uint8_t* settings,
                        int32_t driver_settings_size) {
    if (settings) {
        set_page_printer_settings(settings, header.paper_size, header.orientation,
                                  header.paper_source);
        // The driver's own settings follow the block; a size below the
        // block's would cut it, so the buffer is never smaller.
        const size_t size = std::max<size_t>(kPrinterSettingsSize,
                                             driver_settings_size > 0 ? size_t(driver_settings_size) : 0);
        std::vector<uint8_t> buffer(size, 0);
        std::memcpy(buffer.data(), settings, kPrinterSettingsSize);
        surface.reset_dc(buffer.data(), buffer.size());
    }
    surface.start_page();
    surface.text_out(0, 0, " ", 1);
}

// Selects an object the interpreter made; the first time one of its kind
// goes in, what it replaced is kept to be put back. An object that could
// not be made is not selected: what is selected stays, so the device
// context always holds a valid object.
void select_made(Surface& surface, SurfaceHandle made, SurfaceHandle* kept) {
    if (!made) return;
    const SurfaceHandle previous = surface.select_object(made);
    if (!*kept) *kept = previous;
}

// Puts back the object that the interpreter's one replaced (if one ever
// went in) and deletes the interpreter's object (if it was made).
void put_back(Surface& surface, SurfaceHandle kept, SurfaceHandle* made) {
    if (kept) surface.select_object(kept);
    if (*made) surface.delete_object(*made);
    *made = 0;
}

// Replaces the interpreter's pen: the kept pen goes back in, the old pen is
// deleted, the new one is selected and stays.
void replace_pen(RenderState& state, int width, uint32_t colour) {
    Surface& surface = *state.surface;
    put_back(surface, state.kept_pen, &state.pen);
    state.pen = surface.create_pen(gdi::kPsSolid, width, colour);
    select_made(surface, state.pen, &state.kept_pen);
}

void replace_brush(RenderState& state, uint32_t colour) {
    Surface& surface = *state.surface;
    put_back(surface, state.kept_brush, &state.brush);
    state.brush = surface.create_solid_brush(colour);
    select_made(surface, state.brush, &state.kept_brush);
}

void draw_line(RenderState& state, const PageRecord& r) {
    // A width that rounds to 0 gives the device's thinnest pen.
    replace_pen(state, state.mapping.pen_width(r.width), r.colour);
    // A line that lies wholly beyond any page draws nothing.
    DeviceLine line;
    if (!state.mapping.map_line(r.x1, r.y1, r.x2, r.y2, &line)) return;
    state.surface->move_to(line.x1, line.y1);
    state.surface->line_to(line.x2, line.y2);
}

void draw_box(RenderState& state, const PageRecord& r) {
    // A negative border still leaves a one-pixel white outline over the fill.
    if (r.width < 0)
        replace_pen(state, 0, 0xFFFFFF);
    else
        replace_pen(state, state.mapping.pen_width(r.width), r.border_colour);
    replace_brush(state, r.fill_colour);
    const DeviceMapping& m = state.mapping;
    state.surface->rectangle(m.map_x(r.x1), m.map_y(r.y1), m.map_x(r.x2), m.map_y(r.y2));
}

void set_font(RenderState& state, const PageRecord& r) {
    Surface& surface = *state.surface;
    state.font.face = trim(cut_text(r.data, r.data.size()));
    state.font.style = r.style;
    state.font.size = r.size;
    state.font.colour = r.colour;
    put_back(surface, state.caller_font, &state.current_font);
    state.current_font = make_font(surface, state.font.face, state.font.style,
                                   double(state.font.size) * state.mapping.zoom, 0);
    select_made(surface, state.current_font, &state.caller_font);
    surface.set_text_color(r.colour);
}

FileSystem& picture_files() {
    FileSystem* files = render_hooks().files;
    return files ? *files : system_file_system();
}

void perform(RenderState& state, const PageRecord& r) {
    switch (r.opcode) {
    case kOpAlignedText: draw_aligned_text(state, r); break;
    case kOpRotatedText: draw_rotated_text(state, r); break;
    case kOpPageNumber:
    case kOpPageTotal: draw_page_number(state, r); break;
    case kOpLine: draw_line(state, r); break;
    case kOpBox: draw_box(state, r); break;
    case kOpFont: set_font(state, r); break;
    case kOpPictureFile:
        if (render_hooks().refuse_picture_file)
            render_hooks().refuse_picture_file(trim(drawn_text(r.data)));
        else
            draw_picture(*state.surface, picture_files(), trim(drawn_text(r.data)), r.x1, r.y1,
                         r.x2, r.y2, state.mapping, state.printing, state.pictures);
        break;
    case kOpEmbeddedPicture:
        draw_embedded_picture(*state.surface, picture_files(), r.data, r.x1, r.y1, r.x2, r.y2,
                              state.mapping, state.printing, state.pictures);
        break;
    case kOpWindowLabel: set_window_label(r.label, r.data); break;
    case kOpBoxedText: draw_boxed_text(state, r); break;
    case kOpWrappedText: draw_wrapped_text(state, r); break;
    default: break;  // reserved and settings records are only stepped over
    }
}

// Records whose effect reaches past the surface: window labels change the
// viewer, pictures go through temporary files and the picture loader.
bool acts_outside_surface(int16_t opcode) {
    return opcode == kOpWindowLabel || opcode == kOpPictureFile || opcode == kOpEmbeddedPicture;
}

void tell_unknown_record() {
    UnknownNoticeState& notice = unknown_notice_state();
    if (notice.shown) return;
    notice.shown = true;
    if (render_hooks().show_notice) render_hooks().show_notice(unknown_opcode_notice());
}

}  // namespace

void render_page_bytes(const PageSource& page, Surface& surface, int32_t resolution_x,
                       int32_t resolution_y, int32_t origin_x, int32_t origin_y, int16_t printing,
                       uint8_t* printer_settings, int32_t driver_settings_size) {
    RenderState state;
    state.surface = &surface;
    state.printing = printing != 0;
    state.page_number = page.page_number;
    state.page_count = page.page_count;
    state.decimal_separator = decimal_separator().value;

    // The interpreter's own brush, font and pen, keeping what they replace.
    state.brush = surface.create_solid_brush(0);
    select_made(surface, state.brush, &state.kept_brush);
    state.current_font = make_screen_font(surface, "Arial", 0, 8);
    select_made(surface, state.current_font, &state.caller_font);
    state.pen = surface.create_pen(gdi::kPsSolid, 1, 0);
    select_made(surface, state.pen, &state.kept_pen);
    state.font = FontSettings();

    // The page header; records start at offset 12.
    const PageHeader header = parse_page_header(page.bytes, page.size);
    ZoomFactor& zoom = zoom_factor();
    double zoom_on_entry = zoom.value;

    // The printer's page, or the screen's geometry and page area. Either
    // way the zoom factor is put back at the end.
    if (state.printing) {
        start_printer_page(surface, header, printer_settings, driver_settings_size);
    } else if (!page.reading_text) {
        run_page_geometry(header, surface.desktop_resolution());
        if (render_hooks().fit_page_area) render_hooks().fit_page_area();
        // The zoom the viewer's fit step chose from its zoom box is the one
        // the page is shown at: only the full-size drawing below is undone.
        zoom_on_entry = zoom.value;
    }
    // Full-size drawing below 100 %: the viewer shrinks the image later.
    // Texts are read at the same zoom, so that they measure as drawn.
    if (!state.printing) zoom.value = drawn_zoom(zoom.value, page.display_option);
    state.mapping = DeviceMapping{resolution_x, resolution_y, zoom.value, origin_x, origin_y};

    // Texts start black, on a transparent background.
    surface.set_text_color(0);
    surface.set_bk_mode(gdi::kTransparent);

    // The record loop. The decoder never reads outside the page bytes
    // and never moves backwards; whatever it cannot decode ends the page.
    PageRecord record;
    size_t at = kPageRecordsOffset;
    for (;;) {
        const Decoded decoded = decode_record(page.bytes, page.size, at, &record);
        if (decoded == Decoded::kUnknownOpcode && !state.printing && !page.reading_text)
            tell_unknown_record();
        if (decoded != Decoded::kRecord) break;
        if (!page.reading_text || !acts_outside_surface(record.opcode)) perform(state, record);
        if (record.cut_short) break;  // the record ran past the page's end
        at = record.next;
    }

    // Everything selected goes back, everything made is deleted, whatever
    // ended the loop.
    put_back(surface, state.kept_brush, &state.brush);
    put_back(surface, state.caller_font, &state.current_font);
    put_back(surface, state.kept_pen, &state.pen);
    zoom.value = zoom_on_entry;
}

void render_page(int16_t page, Surface& surface, int32_t resolution_x, int32_t resolution_y,
                 int32_t origin_x, int32_t origin_y, int16_t printing, uint8_t* printer_settings,
                 int32_t driver_settings_size) {
    Document& doc = the_document();
    // Rendering the loaded page again reads nothing from the file.
    if (page != doc.page_number) load_page(doc, page);
    PageSource source;
    source.bytes = doc.page.data();
    source.size = doc.page.size();
    source.page_number = page;
    source.page_count = page_count(doc);
    source.display_option = header_i32(doc, hdr::kDisplayOption);
    render_page_bytes(source, surface, resolution_x, resolution_y, origin_x, origin_y, printing,
                      printer_settings, driver_settings_size);
}

}  // namespace vell
