// The drawing surface on a cairo context: PDF, SVG and image pages drawn
// natively, with no Windows at all. Each operation does what its GDI call
// does on a device of the surface's resolution: inclusive-exclusive
// rectangle and line edges, cosmetic and wide pens, fonts and text metrics
// from the same font files Wine uses, DrawTextExA's word breaks,
// background modes, pictures decoded by stb_image, and the printer's page
// steps, which become page starts with the page's own paper.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/cairo_fonts.h"
#include "render/surface.h"

namespace vell {

// A page that the printing path starts: the paper of the page header, in
// inches as it lies (landscape already turned).
struct PaperPage {
    double width = 8.5;
    double height = 11.0;
    int16_t paper_size = 1;
    bool landscape = false;
};

class CairoSurface : public Surface {
public:
    // cr: the caller's context, in device pixels (a PDF context scaled to
    // them). device: the resolution the device pixels have; desktop: the
    // screen that page geometry and the initial font are sized for.
    CairoSurface(cairo_t* cr, Resolution device, Resolution desktop);
    ~CairoSurface() override;
    CairoSurface(const CairoSurface&) = delete;
    CairoSurface& operator=(const CairoSurface&) = delete;

    // Called by start_page with the paper that reset_dc set last (Letter
    // portrait when none), before anything of that page is drawn.
    void on_page_start(std::function<void(const PaperPage&)> handler) {
        page_start_ = std::move(handler);
    }
    // Texts wait to be drawn as one run with the texts after them; the
    // caller finishes a page with this before it shows or saves the page.
    void flush_text();
    // The context can change between pages (a new image per page).
    void set_context(cairo_t* cr) {
        flush_text();
        cr_ = cr;
        font_set_ = nullptr;
    }
    // A scalable page (PDF): glyphs step by the font's advances in whole
    // device pixels, as a printer of the page's resolution places them
    // (hinted advances there run about 1 % wider than the outlines' own at
    // 9 points and 720 dpi, so the outlines' advances drift from the
    // printed line by several pixels). Level lines
    // and outlines are filled shapes, so the page holds one kind of paint
    // and each shape's numbers once.
    void set_scalable_page(bool scalable) { scalable_ = scalable; }
    // Objects alive now (not deleted), for leak checks.
    size_t live_objects() const { return objects_.size(); }

    SurfaceHandle create_pen(int style, int width, uint32_t colour) override;
    SurfaceHandle create_solid_brush(uint32_t colour) override;
    SurfaceHandle create_font_indirect(const LogFont& font) override;
    SurfaceHandle select_object(SurfaceHandle object) override;
    bool delete_object(SurfaceHandle object) override;
    int device_caps(int index) override;
    Resolution desktop_resolution() override { return desktop_; }
    bool move_to(int x, int y) override;
    bool line_to(int x, int y) override;
    bool rectangle(int left, int top, int right, int bottom) override;
    bool text_out(int x, int y, const char* text, int count) override;
    SurfaceSize text_extent(const char* text, int count) override;
    TextMetrics text_metrics() override;
    bool ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect, const char* text,
                      int count) override;
    int draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) override;
    uint32_t set_text_color(uint32_t colour) override;
    int set_bk_mode(int mode) override;
    unsigned set_text_align(unsigned align) override;
    SurfaceHandle load_bitmap_file(const char* path) override;
    bool bitmap_info(SurfaceHandle bitmap, BitmapInfo* info) override;
    SurfaceHandle create_picture_dc() override;
    SurfaceHandle select_into(SurfaceHandle dc, SurfaceHandle object) override;
    bool delete_dc(SurfaceHandle dc) override;
    bool stretch_blt(int x, int y, int width, int height, SurfaceHandle source_dc, int source_x,
                     int source_y, int source_width, int source_height, uint32_t rop) override;
    int get_dibits(SurfaceHandle dc, SurfaceHandle bitmap, unsigned start, unsigned lines,
                   void* bits, DibDescription* description, unsigned usage) override;
    int stretch_dibits(int x, int y, int width, int height, int source_x, int source_y,
                       int source_width, int source_height, const void* bits,
                       const DibDescription* description, unsigned usage, uint32_t rop) override;
    bool reset_dc(const uint8_t* devmode, size_t size) override;
    int start_page() override;

private:
    enum class Kind { kPen, kBrush, kFont, kBitmap, kMemoryDc };
    struct Object {
        Kind kind = Kind::kPen;
        int width = 0;          // pen
        uint32_t colour = 0;    // pen, brush
        std::shared_ptr<CairoFont> font;    // font (shared with the cache)
        cairo_surface_t* image = nullptr;   // bitmap (owned)
        SurfaceHandle selected = 0;         // memory device context's bitmap
    };
    SurfaceHandle add(Object object);
    Object* find(SurfaceHandle handle, Kind kind);
    void set_colour(uint32_t colour);
    SurfaceSize extent(CairoFont& font, const char* text, int count) {
        return font_extent(font, text, count);
    }
    void select_font(const std::shared_ptr<const CairoFont>& font);
    void stroke(double width);
    void stroke_line(double ax, double ay, double bx, double by, cairo_line_cap_t cap, double width);
    void fill_box(double left, double top, double right, double bottom);
    bool fill_level_line(int x0, int y0, int x1, int y1, int width);
    void outline_box(int left, int top, int right, int bottom, int width, uint32_t brush_colour);
    void draw_glyphs(int x, int y, const char* text, int count, const SurfaceRect* clip,
                     bool opaque_cell);
    void draw_image(cairo_surface_t* image, int x, int y, int width, int height, int source_x,
                    int source_y, int source_width, int source_height);

    cairo_t* cr_;
    Resolution device_;
    Resolution desktop_;
    cairo_font_options_t* text_options_;
    FontCache fonts_;
    std::map<SurfaceHandle, Object> objects_;
    SurfaceHandle next_handle_ = 0x100;
    SurfaceHandle pen_ = 0, brush_ = 0, font_ = 0;  // selected
    SurfaceHandle stock_pen_ = 0, stock_brush_ = 0, stock_font_ = 0, stock_bitmap_ = 0;
    int current_x_ = 0, current_y_ = 0;
    uint32_t text_colour_ = 0;
    uint32_t background_colour_ = 0xFFFFFF;
    int bk_mode_ = 2;  // OPAQUE
    unsigned text_align_ = gdi::kTaLeftTop;
    bool scalable_ = false;
    // The font the context holds, and the font of the run of texts not
    // drawn yet (all in one font and colour): held, so that neither can
    // end while the surface still counts on it.
    std::shared_ptr<const CairoFont> font_set_;
    std::shared_ptr<const CairoFont> run_font_;
    uint32_t run_colour_ = 0;
    std::vector<cairo_glyph_t> glyphs_;
    std::string utf8_;
    std::vector<cairo_text_cluster_t> clusters_;
    PaperPage paper_;
    std::function<void(const PaperPage&)> page_start_;
};

}  // namespace vell
