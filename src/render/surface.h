// The drawing surface: every device-context operation that page rendering
// calls, with the arguments it passes.
//
// The page interpreter, the text records and the pictures draw only through
// this interface and never see an HDC. The GDI surface (gdi_surface_win.h)
// forwards each operation to the Windows call of the same name; the
// recording surface (recording_surface.h) records every call for the unit
// tests. The structures below mirror the Windows ones field by field, so
// the portable code can fill them exactly as it would fill LOGFONTA,
// TEXTMETRICA, BITMAP and BITMAPINFO.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vell {

// A GDI object (pen, brush, font, bitmap) or a memory device context, as
// an opaque number; 0 is "none", as a null HGDIOBJ is on Windows.
using SurfaceHandle = uintptr_t;

// Values of the Windows constants that rendering passes.
namespace gdi {
constexpr int kPsSolid = 0;              // PS_SOLID
constexpr int kTransparent = 1;          // SetBkMode TRANSPARENT
constexpr unsigned kTaLeftTop = 0;       // TA_LEFT | TA_TOP
constexpr unsigned kTaRight = 2;         // TA_RIGHT
constexpr unsigned kTaCenter = 6;        // TA_CENTER
constexpr unsigned kEtoOpaque = 2;       // ETO_OPAQUE
constexpr unsigned kEtoClipped = 4;      // ETO_CLIPPED
constexpr unsigned kDtWordBreak = 0x10;  // DT_WORDBREAK
constexpr unsigned kDtEditControl = 0x2000;  // DT_EDITCONTROL
constexpr unsigned kDtNoClip = 0x100;    // DT_NOCLIP
constexpr unsigned kDtExternalLeading = 0x200;  // DT_EXTERNALLEADING
constexpr int kLogPixelsX = 88;          // GetDeviceCaps LOGPIXELSX
constexpr int kLogPixelsY = 90;          // GetDeviceCaps LOGPIXELSY
constexpr uint32_t kSrcCopy = 0x00CC0020;  // SRCCOPY
constexpr unsigned kDibRgbColors = 0;    // DIB_RGB_COLORS
constexpr uint32_t kBiRgb = 0;           // BI_RGB
constexpr int kFwNormal = 400;           // FW_NORMAL
constexpr int kFwBold = 700;             // FW_BOLD
constexpr uint8_t kProofQuality = 2;     // PROOF_QUALITY
constexpr int kFaceSize = 32;            // LF_FACESIZE, terminator included
}  // namespace gdi

// LOGFONTA, field by field.
struct LogFont {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strike_out = 0;
    uint8_t char_set = 0;
    uint8_t out_precision = 0;
    uint8_t clip_precision = 0;
    uint8_t quality = 0;
    uint8_t pitch_and_family = 0;
    char face_name[gdi::kFaceSize] = {};
};

// The TEXTMETRICA fields rendering reads (and a few that describe a font).
struct TextMetrics {
    int32_t height = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internal_leading = 0;
    int32_t external_leading = 0;
    int32_t ave_char_width = 0;
    int32_t max_char_width = 0;
};

struct SurfaceSize {
    int32_t cx = 0;
    int32_t cy = 0;
};

struct SurfaceRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct Resolution {
    int x = 0;  // pixels per inch across
    int y = 0;  // pixels per inch down
};

// The BITMAP fields a picture needs (GetObjectA).
struct BitmapInfo {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bits_pixel = 0;
};

// BITMAPINFOHEADER followed by room for 256 RGBQUAD entries: the
// device-independent description that printing fills for GetDIBits and
// StretchDIBits. Same layout as the Windows structures.
struct DibDescription {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bit_count = 0;
    uint32_t compression = gdi::kBiRgb;
    uint32_t size_image = 0;
    int32_t x_pels_per_meter = 0;
    int32_t y_pels_per_meter = 0;
    uint32_t clr_used = 0;
    uint32_t clr_important = 0;
    uint32_t colours[256] = {};
};
static_assert(sizeof(DibDescription) == 40 + 256 * 4, "BITMAPINFOHEADER + 256 RGBQUAD");

class Surface {
public:
    virtual ~Surface() = default;

    // ---- Objects ----------------------------------------------------------
    virtual SurfaceHandle create_pen(int style, int width, uint32_t colour) = 0;  // CreatePen
    virtual SurfaceHandle create_solid_brush(uint32_t colour) = 0;               // CreateSolidBrush
    virtual SurfaceHandle create_font_indirect(const LogFont& font) = 0;         // CreateFontIndirectA
    // SelectObject on the target; returns the object it replaced.
    virtual SurfaceHandle select_object(SurfaceHandle object) = 0;
    virtual bool delete_object(SurfaceHandle object) = 0;                        // DeleteObject

    // ---- Device ------------------------------------------------------------
    virtual int device_caps(int index) = 0;  // GetDeviceCaps of the target
    // LOGPIXELSX and LOGPIXELSY of the desktop window's device context
    // (GetDesktopWindow, GetWindowDC, GetDeviceCaps, ReleaseDC): the screen
    // that page geometry and the screen font are sized for.
    virtual Resolution desktop_resolution() = 0;

    // ---- Lines and boxes -----------------------------------------------------
    virtual bool move_to(int x, int y) = 0;  // MoveToEx, previous point not asked for
    virtual bool line_to(int x, int y) = 0;  // LineTo
    virtual bool rectangle(int left, int top, int right, int bottom) = 0;  // Rectangle

    // ---- Text ------------------------------------------------------------------
    virtual bool text_out(int x, int y, const char* text, int count) = 0;  // TextOutA
    virtual SurfaceSize text_extent(const char* text, int count) = 0;     // GetTextExtentPoint32A
    virtual TextMetrics text_metrics() = 0;                               // GetTextMetricsA
    // GetTextExtentExPointA's partial extents: ends[i] is the width of the
    // first i + 1 characters, so each character's advance is the step from
    // the one before. Devices that cannot tell measure every prefix.
    virtual void text_partial_extents(const char* text, int count, int32_t* ends) {
        for (int i = 0; i < count; ++i) ends[i] = text_extent(text, i + 1).cx;
    }
    // ExtTextOutA with no spacing array; rect may be null.
    virtual bool ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect,
                              const char* text, int count) = 0;
    // DrawTextExA with a NUL-terminated text (length -1), a rectangle, the
    // format and no parameters block; returns the height of the text.
    virtual int draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) = 0;
    virtual uint32_t set_text_color(uint32_t colour) = 0;  // SetTextColor; the previous colour
    virtual int set_bk_mode(int mode) = 0;                 // SetBkMode; the previous mode
    virtual unsigned set_text_align(unsigned align) = 0;   // SetTextAlign; the previous alignment

    // ---- Pictures -----------------------------------------------------------------
    // LoadImageA(no instance, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE |
    // LR_VGACOLOR); 0 when the file is not a bitmap Windows can read.
    virtual SurfaceHandle load_bitmap_file(const char* path) = 0;
    virtual bool bitmap_info(SurfaceHandle bitmap, BitmapInfo* info) = 0;  // GetObjectA
    // A memory device context compatible with the viewer window's device
    // context, or the screen's when there is no viewer window (GetDC,
    // CreateCompatibleDC, ReleaseDC).
    virtual SurfaceHandle create_picture_dc() = 0;
    // SelectObject into a memory device context; returns the replaced object.
    virtual SurfaceHandle select_into(SurfaceHandle dc, SurfaceHandle object) = 0;
    virtual bool delete_dc(SurfaceHandle dc) = 0;  // DeleteDC
    // StretchBlt from a memory device context onto the target.
    virtual bool stretch_blt(int x, int y, int width, int height, SurfaceHandle source_dc,
                             int source_x, int source_y, int source_width, int source_height,
                             uint32_t rop) = 0;
    // GetDIBits of a bitmap through a memory device context.
    virtual int get_dibits(SurfaceHandle dc, SurfaceHandle bitmap, unsigned start, unsigned lines,
                           void* bits, DibDescription* description, unsigned usage) = 0;
    // StretchDIBits onto the target.
    virtual int stretch_dibits(int x, int y, int width, int height, int source_x, int source_y,
                               int source_width, int source_height, const void* bits,
                               const DibDescription* description, unsigned usage,
                               uint32_t rop) = 0;

    // ---- Printer pages -------------------------------------------------------------
    // ResetDCA with a DEVMODEA buffer of size bytes (the printer settings
    // block followed by the driver's own settings).
    virtual bool reset_dc(const uint8_t* devmode, size_t size) = 0;
    virtual int start_page() = 0;  // StartPage
};

}  // namespace vell
