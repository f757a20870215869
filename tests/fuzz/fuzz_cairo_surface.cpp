// The cairo surface that vellconvert draws with, driven two ways on a PDF
// page and on a small image: by arbitrary page bytes through the page
// interpreter (at 720 dots per inch, as vellconvert's PDF pages), and by
// arbitrary calls with arbitrary numbers, the extremes of int among them.
// Nothing may crash, overflow or leak; every object made is deleted.
#include <cairo-pdf.h>
#include <cairo.h>

#include <climits>
#include <cstring>
#include <vector>

#include "render/cairo_surface.h"
#include "render/interpreter.h"
#include "render/units.h"

using namespace vell;

namespace {

// Reads the input as a stream of choices; zeros once it runs out.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t byte() { return at < size ? data[at++] : 0; }
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(byte()) << (8 * i);
        return v;
    }
    // Mostly the values that break arithmetic, else any int.
    int number() {
        static const int telling[] = {INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 1, 0, 1, -1,
                                      1 << 22, -(1 << 22), 1 << 24, 100000, 20, 40};
        const uint8_t pick = byte();
        if (pick < 2 * sizeof telling / sizeof telling[0]) return telling[pick / 2];
        return int(u32());
    }
    bool done() const { return at >= size; }
};

cairo_status_t discard(void*, const unsigned char*, unsigned int) { return CAIRO_STATUS_SUCCESS; }

void calls(CairoSurface& s, Input& in) {
    std::vector<SurfaceHandle> made;
    uint8_t bits[4 * 4 * 4] = {};
    for (int n = 0; n < 64 && !in.done(); ++n) {
        switch (in.byte() % 12) {
        case 0: made.push_back(s.create_pen(in.byte() % 6, in.number(), in.u32())); break;
        case 1: made.push_back(s.create_solid_brush(in.u32())); break;
        case 2: {
            LogFont font;
            font.height = in.number();
            font.escapement = in.number();
            font.weight = in.byte() & 1 ? gdi::kFwBold : gdi::kFwNormal;
            font.italic = in.byte() & 1;
            font.underline = in.byte() & 1;
            font.strike_out = in.byte() & 1;
            std::strcpy(font.face_name, in.byte() & 1 ? "Arial" : "Courier New");
            made.push_back(s.create_font_indirect(font));
            break;
        }
        case 3:
            if (!made.empty()) s.select_object(made[in.byte() % made.size()]);
            break;
        case 4: s.move_to(in.number(), in.number()); break;
        case 5: s.line_to(in.number(), in.number()); break;
        case 6: s.rectangle(in.number(), in.number(), in.number(), in.number()); break;
        case 7: s.text_out(in.number(), in.number(), "Wg", 2); break;
        case 8: {
            SurfaceRect r{in.number(), in.number(), in.number(), in.number()};
            s.ext_text_out(in.number(), in.number(), in.byte() & 6, &r, "clip", 4);
            break;
        }
        case 9: {
            SurfaceRect r{in.number(), in.number(), in.number(), in.number()};
            s.draw_text_ex("words to wrap at the box", &r, gdi::kDtWordBreak | gdi::kDtEditControl);
            break;
        }
        case 10: {
            DibDescription d;
            d.width = 4;
            d.height = in.byte() & 1 ? 4 : -4;
            d.bit_count = 32;
            s.stretch_dibits(in.number(), in.number(), in.number(), in.number(), in.number(),
                             in.number(), in.number(), in.number(), bits, &d, 0, gdi::kSrcCopy);
            break;
        }
        default:
            s.set_text_align(in.byte());
            s.set_bk_mode(in.byte() % 3);
            break;
        }
    }
    // Selected objects stay, as GDI keeps them; the rest go.
    s.select_object(s.create_pen(gdi::kPsSolid, 1, 0));
    s.select_object(s.create_solid_brush(0));
    for (SurfaceHandle h : made) s.delete_object(h);
}

void draw(cairo_t* cr, Resolution device, const uint8_t* data, size_t size) {
    CairoSurface surface(cr, device, Resolution{96, 96});
    if (size > 0 && data[0] & 1) {
        Input in{data + 1, size - 1};
        calls(surface, in);
    } else {
        PageSource page;
        page.bytes = data;
        page.size = size;
        page.page_number = 1;
        page.page_count = 1;
        render_page_bytes(page, surface, device.x, device.y, 0, 0, 0, nullptr, 0);
    }
    surface.flush_text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    render_hooks().show_notice = nullptr;
    render_hooks().picture_notice = nullptr;
    render_hooks().fit_page_area = nullptr;
    zoom_factor().value = 1.0;

    cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(discard, nullptr, 612, 792);
    cairo_t* cr = cairo_create(pdf);
    cairo_scale(cr, 0.1, 0.1);  // 720 device pixels to the inch
    draw(cr, Resolution{720, 720}, data, size);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    cairo_surface_destroy(pdf);

    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48);
    cr = cairo_create(image);
    draw(cr, Resolution{96, 96}, data, size);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    return 0;
}
