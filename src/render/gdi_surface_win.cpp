#include "render/gdi_surface_win.h"
#include "render/units.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "render/fonts.h"
#include "render/interpreter.h"
#include "render/records.h"

namespace vell {

// The portable descriptions mirror the Windows structures; these checks
// keep them from drifting.
static_assert(sizeof(DibDescription) == sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD),
              "DibDescription mirrors BITMAPINFO with 256 colours");
static_assert(offsetof(DEVMODEA, dmFields) == devmode::kFields, "dmFields");
static_assert(offsetof(DEVMODEA, dmOrientation) == devmode::kOrientation, "dmOrientation");
static_assert(offsetof(DEVMODEA, dmPaperSize) == devmode::kPaperSize, "dmPaperSize");
static_assert(offsetof(DEVMODEA, dmDefaultSource) == devmode::kDefaultSource, "dmDefaultSource");

namespace {

HGDIOBJ object_of(SurfaceHandle handle) { return reinterpret_cast<HGDIOBJ>(handle); }
HDC dc_of(SurfaceHandle handle) { return reinterpret_cast<HDC>(handle); }
SurfaceHandle handle_of(const void* object) { return reinterpret_cast<SurfaceHandle>(object); }

// BITMAPINFO with room for a full colour table.
struct DibBuffer {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

void to_windows(const DibDescription& in, DibBuffer* out) {
    static_assert(sizeof(DibBuffer) == sizeof(DibDescription), "same layout");
    std::memcpy(out, &in, sizeof in);
}

void from_windows(const DibBuffer& in, DibDescription* out) {
    std::memcpy(static_cast<void*>(out), &in, sizeof in);
}

}  // namespace

LOGFONTA to_logfonta(const LogFont& font) {
    LOGFONTA lf{};
    lf.lfHeight = font.height;
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strike_out;
    lf.lfCharSet = font.char_set;
    lf.lfOutPrecision = font.out_precision;
    lf.lfClipPrecision = font.clip_precision;
    lf.lfQuality = font.quality;
    lf.lfPitchAndFamily = font.pitch_and_family;
    static_assert(sizeof lf.lfFaceName == sizeof font.face_name, "LF_FACESIZE");
    std::memcpy(lf.lfFaceName, font.face_name, sizeof lf.lfFaceName);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return lf;
}

TextMetrics to_text_metrics(const TEXTMETRICA& tm) {
    TextMetrics m;
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    m.descent = tm.tmDescent;
    m.internal_leading = tm.tmInternalLeading;
    m.external_leading = tm.tmExternalLeading;
    m.ave_char_width = tm.tmAveCharWidth;
    m.max_char_width = tm.tmMaxCharWidth;
    return m;
}

HFONT create_screen_font(const char* face, int16_t style, double size) {
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    int logpixels_y = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(desktop, screen);
    LOGFONTA lf = to_logfonta(make_logfont(face, style, size, 0, logpixels_y));
    return CreateFontIndirectA(&lf);
}

GdiSurface::GdiSurface(HDC dc, HWND picture_window) : dc_(dc), picture_window_(picture_window) {}

GdiSurface::~GdiSurface() {
    for (PooledFont& entry : pool_) release(entry);
}

SurfaceHandle GdiSurface::create_pen(int style, int width, uint32_t colour) {
    return handle_of(CreatePen(style, width, colour));
}

SurfaceHandle GdiSurface::create_solid_brush(uint32_t colour) {
    return handle_of(CreateSolidBrush(colour));
}

GdiSurface::PooledFont* GdiSurface::find_pooled(HGDIOBJ font) {
    for (PooledFont& entry : pool_)
        if (entry.font == font) return &entry;
    return nullptr;
}

void GdiSurface::release(PooledFont& entry) {
    if (entry.keeper) {
        SelectObject(entry.keeper, entry.keeper_previous);
        DeleteDC(entry.keeper);
    }
    // A font still selected in the target is left alone rather than deleted
    // under the device context's feet.
    if (GetCurrentObject(dc_, OBJ_FONT) != entry.font) DeleteObject(entry.font);
    entry = PooledFont();
}

void GdiSurface::make_room() {
    while (pool_.size() >= kFontPoolSize) {
        // The least recently made font that no one holds any more.
        PooledFont* oldest = nullptr;
        for (PooledFont& entry : pool_)
            if (entry.references == 0 && GetCurrentObject(dc_, OBJ_FONT) != entry.font &&
                (!oldest || entry.last_use < oldest->last_use))
                oldest = &entry;
        if (!oldest) return;  // every font is in use: the pool grows
        release(*oldest);
        pool_.erase(pool_.begin() + (oldest - pool_.data()));
    }
}

SurfaceHandle GdiSurface::create_font_indirect(const LogFont& font) {
    const LOGFONTA lf = to_logfonta(font);
    ++uses_;
    for (PooledFont& entry : pool_)
        if (std::memcmp(&entry.key, &lf, sizeof lf) == 0) {
            ++entry.references;
            entry.last_use = uses_;
            return handle_of(entry.font);
        }
    HFONT made = CreateFontIndirectA(&lf);
    if (!made) return 0;
    make_room();
    PooledFont entry;
    entry.key = lf;
    entry.font = made;
    entry.references = 1;
    entry.last_use = uses_;
    entry.keeper = CreateCompatibleDC(nullptr);
    if (entry.keeper) entry.keeper_previous = SelectObject(entry.keeper, made);
    pool_.push_back(entry);
    return handle_of(made);
}

SurfaceHandle GdiSurface::select_object(SurfaceHandle object) {
    return handle_of(SelectObject(dc_, object_of(object)));
}

bool GdiSurface::delete_object(SurfaceHandle object) {
    if (!object) return false;
    if (PooledFont* entry = find_pooled(object_of(object))) {
        if (entry->references > 0) --entry->references;
        return true;
    }
    return DeleteObject(object_of(object)) != 0;
}

int GdiSurface::device_caps(int index) {
    if (index == LOGPIXELSX && reported_.x > 0) return reported_.x;
    if (index == LOGPIXELSY && reported_.y > 0) return reported_.y;
    return GetDeviceCaps(dc_, index);
}

Resolution GdiSurface::desktop_resolution() {
    if (reported_.x > 0 && reported_.y > 0) return reported_;
    const Resolution desktop = platform_desktop_resolution();
    // No desktop device context at all: the screen counts as 96 dots per inch.
    if (desktop.x == 0 && desktop.y == 0) return Resolution{96, 96};
    return desktop;
}

bool GdiSurface::move_to(int x, int y) { return MoveToEx(dc_, x, y, nullptr) != 0; }

bool GdiSurface::line_to(int x, int y) { return LineTo(dc_, x, y) != 0; }

bool GdiSurface::rectangle(int left, int top, int right, int bottom) {
    return Rectangle(dc_, left, top, right, bottom) != 0;
}

bool GdiSurface::text_out(int x, int y, const char* text, int count) {
    return TextOutA(dc_, x, y, text, count) != 0;
}

SurfaceSize GdiSurface::text_extent(const char* text, int count) {
    SIZE size{0, 0};
    if (!GetTextExtentPoint32A(dc_, text, count, &size)) return SurfaceSize{};
    return SurfaceSize{int32_t(size.cx), int32_t(size.cy)};
}

void GdiSurface::text_partial_extents(const char* text, int count, int32_t* ends) {
    static_assert(sizeof(INT) == sizeof(int32_t), "INT is 32 bits");
    SIZE size{0, 0};
    if (count > 0 && GetTextExtentExPointA(dc_, text, count, 0, nullptr,
                                           reinterpret_cast<INT*>(ends), &size))
        return;
    Surface::text_partial_extents(text, count, ends);
}

TextMetrics GdiSurface::text_metrics() {
    TEXTMETRICA tm{};
    if (!GetTextMetricsA(dc_, &tm)) return TextMetrics{};
    return to_text_metrics(tm);
}

bool GdiSurface::ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect,
                              const char* text, int count) {
    RECT r{};
    if (rect) r = RECT{rect->left, rect->top, rect->right, rect->bottom};
    return ExtTextOutA(dc_, x, y, options, rect ? &r : nullptr, text, UINT(count), nullptr) != 0;
}

int GdiSurface::draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) {
    RECT r{rect->left, rect->top, rect->right, rect->bottom};
    // DrawTextExA takes a writable text (DT_MODIFYSTRING may change it);
    // rendering never asks for that, but the call gets its own copy anyway,
    // on the stack for every text a page can draw.
    char local[kMaxDrawnText + 1];
    const size_t length = std::strlen(text);
    std::string heap;
    char* copy = local;
    if (length < sizeof local) {
        std::memcpy(local, text, length + 1);
    } else {
        heap.assign(text, length);
        copy = &heap[0];
    }
    int height = DrawTextExA(dc_, copy, -1, &r, format, nullptr);
    *rect = SurfaceRect{r.left, r.top, r.right, r.bottom};
    return height;
}

uint32_t GdiSurface::set_text_color(uint32_t colour) { return SetTextColor(dc_, colour); }

int GdiSurface::set_bk_mode(int mode) { return SetBkMode(dc_, mode); }

unsigned GdiSurface::set_text_align(unsigned align) { return SetTextAlign(dc_, align); }

SurfaceHandle GdiSurface::load_bitmap_file(const char* path) {
    return handle_of(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_VGACOLOR));
}

bool GdiSurface::bitmap_info(SurfaceHandle bitmap, BitmapInfo* info) {
    BITMAP bm{};
    if (!GetObjectA(object_of(bitmap), sizeof bm, &bm)) return false;
    info->width = bm.bmWidth;
    info->height = bm.bmHeight;
    info->bits_pixel = bm.bmBitsPixel;
    return true;
}

SurfaceHandle GdiSurface::create_picture_dc() {
    // Compatible with the viewer window's device context, or with the
    // screen's when there is no viewer window (GetDC of null).
    HDC reference = GetDC(picture_window_);
    HDC memory = CreateCompatibleDC(reference);
    if (reference) ReleaseDC(picture_window_, reference);
    return handle_of(memory);
}

SurfaceHandle GdiSurface::select_into(SurfaceHandle dc, SurfaceHandle object) {
    return handle_of(SelectObject(dc_of(dc), object_of(object)));
}

bool GdiSurface::delete_dc(SurfaceHandle dc) { return DeleteDC(dc_of(dc)) != 0; }

bool GdiSurface::stretch_blt(int x, int y, int width, int height, SurfaceHandle source_dc,
                             int source_x, int source_y, int source_width, int source_height,
                             uint32_t rop) {
    return StretchBlt(dc_, x, y, width, height, dc_of(source_dc), source_x, source_y, source_width,
                      source_height, rop) != 0;
}

int GdiSurface::get_dibits(SurfaceHandle dc, SurfaceHandle bitmap, unsigned start, unsigned lines,
                           void* bits, DibDescription* description, unsigned usage) {
    DibBuffer buffer;
    to_windows(*description, &buffer);
    int result = GetDIBits(dc_of(dc), reinterpret_cast<HBITMAP>(bitmap), start, lines, bits,
                           reinterpret_cast<BITMAPINFO*>(&buffer), usage);
    from_windows(buffer, description);
    return result;
}

int GdiSurface::stretch_dibits(int x, int y, int width, int height, int source_x, int source_y,
                               int source_width, int source_height, const void* bits,
                               const DibDescription* description, unsigned usage, uint32_t rop) {
    DibBuffer buffer;
    to_windows(*description, &buffer);
    return StretchDIBits(dc_, x, y, width, height, source_x, source_y, source_width, source_height,
                         bits, reinterpret_cast<const BITMAPINFO*>(&buffer), usage, rop);
}

bool GdiSurface::reset_dc(const uint8_t* devmode, size_t) {
    return ResetDCA(dc_, reinterpret_cast<const DEVMODEA*>(devmode)) != nullptr;
}

int GdiSurface::start_page() { return StartPage(dc_); }

}  // namespace vell
