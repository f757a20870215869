// The drawing surface on a real Windows device context. Windows only: this
// header includes <windows.h> and is included only by _win.cpp files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "render/surface.h"

namespace vell {

// Fonts are pooled. A font made again with the same LOGFONTA gets the same
// handle, and DeleteObject of a pooled font only gives the handle back to
// the pool; the pool deletes its fonts when it is full and when the surface
// ends. Each pooled font also stays selected in a small memory device
// context of its own. Why: GDI keeps a font's rendered glyphs only while
// some device context holds the font, and Wine keeps just a handful of
// released ones; a page that switches among a dozen fonts, each font
// record deleting the previous one, would otherwise have every glyph
// rendered anew (measured under Wine: 50 ms instead of 7 ms for a dense
// page). A surface kept for many renders keeps its glyphs warm across them.
class GdiSurface : public Surface {
public:
    // dc: the target device context, which the caller owns. picture_window:
    // the window whose device context picture memory contexts are made
    // compatible with (the viewer window); null for the screen's.
    explicit GdiSurface(HDC dc, HWND picture_window = nullptr);
    ~GdiSurface() override;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    // Makes the surface act as a screen of this resolution: GetDeviceCaps
    // (LOGPIXELSX/LOGPIXELSY) and the desktop resolution report it instead
    // of the real devices' values, so a tool that renders into a memory
    // device context at some resolution gets fonts and page geometry sized
    // for that resolution.
    void set_reported_resolution(Resolution resolution) { reported_ = resolution; }

    HDC dc() const { return dc_; }

    SurfaceHandle create_pen(int style, int width, uint32_t colour) override;
    SurfaceHandle create_solid_brush(uint32_t colour) override;
    SurfaceHandle create_font_indirect(const LogFont& font) override;
    SurfaceHandle select_object(SurfaceHandle object) override;
    bool delete_object(SurfaceHandle object) override;
    int device_caps(int index) override;
    Resolution desktop_resolution() override;
    bool move_to(int x, int y) override;
    bool line_to(int x, int y) override;
    bool rectangle(int left, int top, int right, int bottom) override;
    bool text_out(int x, int y, const char* text, int count) override;
    SurfaceSize text_extent(const char* text, int count) override;
    TextMetrics text_metrics() override;
    void text_partial_extents(const char* text, int count, int32_t* ends) override;
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

    // How many fonts the pool holds at most, and how many it holds now.
    static constexpr size_t kFontPoolSize = 64;
    size_t pooled_fonts() const { return pool_.size(); }

private:
    struct PooledFont {
        LOGFONTA key{};
        HFONT font = nullptr;
        HDC keeper = nullptr;             // holds the font selected
        HGDIOBJ keeper_previous = nullptr;
        int references = 0;               // creations not yet deleted
        uint64_t last_use = 0;
    };
    PooledFont* find_pooled(HGDIOBJ font);
    void release(PooledFont& entry);
    void make_room();

    HDC dc_;
    HWND picture_window_;
    Resolution reported_{};
    std::vector<PooledFont> pool_;
    uint64_t uses_ = 0;
};

// LOGFONTA from the portable description.
LOGFONTA to_logfonta(const LogFont& font);
// The portable metrics from TEXTMETRICA.
TextMetrics to_text_metrics(const TEXTMETRICA& tm);

// Make a screen font as a Windows font handle, for the viewer window's own
// interface font: angle 0, sized for the desktop's vertical resolution.
HFONT create_screen_font(const char* face, int16_t style, double size);

}  // namespace vell
