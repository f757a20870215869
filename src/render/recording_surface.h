// A drawing surface that records every call with its arguments, keeps the
// device-context state a real device would (selected objects, text colour,
// background mode, text alignment), and measures text with a simple font
// model instead of real fonts. For unit tests of rendering on any host.
//
// Font model. A font's em is -lfHeight when lfHeight is negative (a
// character height), 4/5 of lfHeight when it is positive (a cell height),
// and 12 pixels when it is 0 (the device's default). Characters are a
// quarter em (blank . , : ; ' ! | i l), a whole em (M W m w @), or half an
// em (everything else); a text's width is the sum in quarter ems times em
// / 4, rounded down. Metrics: internal leading em / 4, height em + internal
// leading, descent em / 5, ascent height - descent, external leading em /
// 8 (all rounded down). An em above 100000 pixels counts as 100000, so
// corrupt sizes still measure without overflow. GetTextExtentPoint32A gives that width by the
// height; DrawTextExA gives the height times the number of lines ("\n"
// separated).
//
// Bitmaps. load_bitmap_file reads the file's BITMAPFILEHEADER and
// BITMAPINFOHEADER (or BITMAPCOREHEADER): width, height and bits per pixel
// become the BITMAP that bitmap_info reports. Anything that is not a "BM"
// file with a header is refused, as LoadImageA refuses it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "render/surface.h"

namespace vell {

enum class SurfaceOp {
    kCreatePen,
    kCreateSolidBrush,
    kCreateFont,
    kSelectObject,
    kDeleteObject,
    kGetDeviceCaps,
    kDesktopResolution,
    kMoveTo,
    kLineTo,
    kRectangle,
    kTextOut,
    kTextExtent,
    kTextMetrics,
    kExtTextOut,
    kDrawTextEx,
    kSetTextColor,
    kSetBkMode,
    kSetTextAlign,
    kLoadBitmap,
    kBitmapInfo,
    kCreatePictureDc,
    kSelectInto,
    kDeleteDc,
    kStretchBlt,
    kGetDIBits,
    kStretchDIBits,
    kResetDc,
    kStartPage,
};

const char* surface_op_name(SurfaceOp op);

constexpr uint64_t kRecordedBitsLimit = 64 * 1024;

struct RecordedCall {
    SurfaceOp op = SurfaceOp::kStartPage;
    // Numeric arguments in the order of the Windows call (handles, points,
    // sizes, colours, flags).
    std::vector<int64_t> args;
    // Text, path, the bytes of a settings buffer, or the bits StretchDIBits
    // was given (up to kRecordedBitsLimit bytes).
    std::string text;
    SurfaceRect rect;  // ExtTextOutA and DrawTextExA rectangles
    bool has_rect = false;
    // CreateFontIndirectA: the LOGFONTA passed. Text calls: the font that
    // was selected when the call was made.
    LogFont font;
    uint32_t text_colour = 0;  // text calls: the device context's text colour
    unsigned text_align = 0;   // text calls: the device context's text alignment
    int bk_mode = 0;           // text calls: the background mode
    DibDescription dib;        // GetDIBits and StretchDIBits
    uint64_t result = 0;       // handle or value returned
};

std::string to_string(const RecordedCall& call);

class RecordingSurface : public Surface {
public:
    // device: LOGPIXELSX/Y of the target; desktop: the screen's.
    explicit RecordingSurface(Resolution device = {96, 96}, Resolution desktop = {96, 96});

    // ---- Surface ------------------------------------------------------------
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

    // ---- What the tests read --------------------------------------------------
    const std::vector<RecordedCall>& calls() const { return calls_; }
    std::vector<RecordedCall> calls_of(SurfaceOp op) const;
    void clear_calls() { calls_.clear(); }

    // The objects the device context had before anyone drew: a black
    // one-pixel pen, a white brush, the system font, a one-pixel bitmap.
    SurfaceHandle stock_pen() const { return stock_pen_; }
    SurfaceHandle stock_brush() const { return stock_brush_; }
    SurfaceHandle stock_font() const { return stock_font_; }
    SurfaceHandle selected_pen() const { return selected_pen_; }
    SurfaceHandle selected_brush() const { return selected_brush_; }
    SurfaceHandle selected_font() const { return selected_font_; }
    uint32_t text_colour() const { return text_colour_; }
    int bk_mode() const { return bk_mode_; }
    unsigned text_align() const { return text_align_; }

    // Objects and memory device contexts made through this surface and not
    // deleted yet.
    size_t live_objects() const;
    // Misuse a real device would punish: deleting a selected, stock or
    // unknown object, selecting an unknown one, deleting a bitmap that is
    // still selected into a memory device context.
    const std::vector<std::string>& problems() const { return problems_; }

    // The LOGFONTA of a font handle; a default LogFont for others.
    LogFont font_of(SurfaceHandle font) const;

    // The font model's measures, for tests that compute expectations.
    static constexpr int kModelMaxEm = 100000;
    static int model_em(const LogFont& font);
    static int model_width(const LogFont& font, const std::string& text);
    static TextMetrics model_metrics(const LogFont& font);

    // The next count pens, brushes and fonts cannot be made: their
    // creation returns no handle, as GDI does when it runs out of objects.
    void fail_next_creations(int count) { failing_creations_ = count; }

    // A text colour a fresh device context starts with (black) can be
    // changed before rendering, to check that pages set their own.
    void set_initial_text_colour(uint32_t colour) { text_colour_ = colour; }

private:
    enum class Kind { kPen, kBrush, kFont, kBitmap, kDc };
    struct Object {
        Kind kind = Kind::kPen;
        bool stock = false;
        LogFont font;
        BitmapInfo bitmap;
        SurfaceHandle selected_bitmap = 0;  // memory device contexts
    };

    SurfaceHandle add(Object object);
    SurfaceHandle add_created(Object object);
    RecordedCall& record(SurfaceOp op, std::vector<int64_t> args);
    RecordedCall& record_text(SurfaceOp op, std::vector<int64_t> args, const char* text, int count);
    const LogFont& current_font() const;

    Resolution device_;
    Resolution desktop_;
    std::vector<RecordedCall> calls_;
    std::map<SurfaceHandle, Object> objects_;
    std::vector<std::string> problems_;
    SurfaceHandle next_handle_ = 1;
    SurfaceHandle stock_pen_ = 0, stock_brush_ = 0, stock_font_ = 0, stock_bitmap_ = 0;
    SurfaceHandle selected_pen_ = 0, selected_brush_ = 0, selected_font_ = 0, selected_bitmap_ = 0;
    uint32_t text_colour_ = 0;
    int bk_mode_ = 2;  // OPAQUE, as a new device context has it
    unsigned text_align_ = 0;
    int failing_creations_ = 0;
};

}  // namespace vell
