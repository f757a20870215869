#include "render/cairo_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/cairo_bitmaps.h"
#include "render/units.h"
#include "render/page_text.h"

namespace vell {

namespace {

// GetDeviceCaps indexes besides LOGPIXELSX/Y that a page or a print job asks.
constexpr int kTechnology = 2, kHorzSize = 4, kVertSize = 6, kHorzRes = 8, kVertRes = 10,
              kBitsPixel = 12, kPlanes = 14, kPhysicalWidth = 110, kPhysicalHeight = 111,
              kPhysicalOffsetX = 112, kPhysicalOffsetY = 113;
constexpr int kPsNull = 5;              // PS_NULL
constexpr int kOpaque = 2;              // SetBkMode OPAQUE
constexpr unsigned kTaBottom = 8, kTaBaseline = 24;
constexpr unsigned kDtCenter = 1, kDtRight = 2, kDtNoClip = gdi::kDtNoClip,
                   kDtCalcRect = 0x400;

// cairo keeps coordinates in 24.8 fixed point: beyond about 8 million
// units they wrap. Figures are held to half that, far beyond any page, so
// a box that covers the page fills it whatever its corners claim.
constexpr double kFar = 1 << 22;
double far_held(double v) { return std::clamp(v, -kFar, kFar); }

// A rectangle's width and height in doubles: right - left of any two ints.
double span(int from, int to) { return double(to) - double(from); }

// UTF-8 of ANSI text, with one cluster per character, so PDF readers copy
// and search exactly the characters drawn.
void append_clusters(const char* text, int count, std::string* utf8,
                     std::vector<cairo_text_cluster_t>* clusters) {
    for (int i = 0; i < count; ++i) {
        const uint32_t c = ansi_to_unicode(static_cast<uint8_t>(text[i]));
        const size_t before = utf8->size();
        // NUL and other control bytes have no text; a blank stands in.
        append_utf8(c < 0x20 ? ' ' : c, utf8);
        clusters->push_back(cairo_text_cluster_t{int(utf8->size() - before), 1});
    }
}

// How far a wide pen reaches before the pixel it is centred on: GDI gives
// an even width's extra pixel to the side after.
int pen_reach_before(int width) { return width / 2; }

}  // namespace

CairoSurface::CairoSurface(cairo_t* cr, Resolution device, Resolution desktop)
    : cr_(cr), device_(device), desktop_(desktop), text_options_(cairo_font_options_create()) {
    // Page text as GDI draws it: glyphs at the positions the surface gives;
    // smoothing and hinting are set per font (draw_glyphs).
    cairo_font_options_set_hint_metrics(text_options_, CAIRO_HINT_METRICS_OFF);
    // A new device context holds a black cosmetic pen, a white brush, the
    // system font and a one-pixel bitmap in every memory context.
    Object pen;
    pen.kind = Kind::kPen;
    stock_pen_ = pen_ = add(pen);
    Object brush;
    brush.kind = Kind::kBrush;
    brush.colour = 0xFFFFFF;
    stock_brush_ = brush_ = add(brush);
    LogFont system;
    system.height = 16;
    system.weight = gdi::kFwBold;
    std::strcpy(system.face_name, "Arial");
    stock_font_ = font_ = create_font_indirect(system);
    Object bitmap;
    bitmap.kind = Kind::kBitmap;
    bitmap.image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    stock_bitmap_ = add(bitmap);
}

CairoSurface::~CairoSurface() {
    cairo_font_options_destroy(text_options_);
    for (auto& entry : objects_)
        if (entry.second.image) cairo_surface_destroy(entry.second.image);
}

SurfaceHandle CairoSurface::add(Object object) {
    const SurfaceHandle handle = next_handle_++;
    objects_[handle] = object;
    return handle;
}

CairoSurface::Object* CairoSurface::find(SurfaceHandle handle, Kind kind) {
    auto found = objects_.find(handle);
    if (found == objects_.end() || found->second.kind != kind) return nullptr;
    return &found->second;
}

void CairoSurface::set_colour(uint32_t colour) {
    cairo_set_source_rgb(cr_, double(colour & 0xFF) / 255.0, double((colour >> 8) & 0xFF) / 255.0,
                         double((colour >> 16) & 0xFF) / 255.0);
}

// ---- Objects -------------------------------------------------------------------

SurfaceHandle CairoSurface::create_pen(int style, int width, uint32_t colour) {
    Object pen;
    pen.kind = Kind::kPen;
    pen.width = style == kPsNull ? -1 : std::max(0, width);
    pen.colour = colour & 0xFFFFFF;
    return add(pen);
}

SurfaceHandle CairoSurface::create_solid_brush(uint32_t colour) {
    Object brush;
    brush.kind = Kind::kBrush;
    brush.colour = colour & 0xFFFFFF;
    return add(brush);
}

SurfaceHandle CairoSurface::create_font_indirect(const LogFont& logfont) {
    std::shared_ptr<CairoFont> font = fonts_.font(logfont);
    if (!font) return 0;
    Object object;
    object.kind = Kind::kFont;
    object.font = font;
    return add(object);
}

SurfaceHandle CairoSurface::select_object(SurfaceHandle handle) {
    auto found = objects_.find(handle);
    if (found == objects_.end()) return 0;
    SurfaceHandle previous = 0;
    switch (found->second.kind) {
    case Kind::kPen: previous = pen_; pen_ = handle; break;
    case Kind::kBrush: previous = brush_; brush_ = handle; break;
    case Kind::kFont: previous = font_; font_ = handle; break;
    default: break;  // bitmaps go into memory contexts only
    }
    return previous;
}

bool CairoSurface::delete_object(SurfaceHandle handle) {
    auto found = objects_.find(handle);
    if (found == objects_.end() || found->second.kind == Kind::kMemoryDc) return false;
    // Stock objects and selected objects stay, as GDI keeps them.
    if (handle == stock_pen_ || handle == stock_brush_ || handle == stock_font_ ||
        handle == stock_bitmap_ || handle == pen_ || handle == brush_ || handle == font_)
        return false;
    for (const auto& entry : objects_)
        if (entry.second.kind == Kind::kMemoryDc && entry.second.selected == handle) return false;
    if (found->second.image) cairo_surface_destroy(found->second.image);
    objects_.erase(found);
    return true;
}

// ---- Device --------------------------------------------------------------------

int CairoSurface::device_caps(int index) {
    const int across = round_half_even(paper_.width * device_.x);
    const int down = round_half_even(paper_.height * device_.y);
    switch (index) {
    case gdi::kLogPixelsX: return device_.x;
    case gdi::kLogPixelsY: return device_.y;
    case kTechnology: return 2;  // DT_RASPRINTER: pages of paper
    case kHorzSize: return round_half_even(paper_.width * 25.4);
    case kVertSize: return round_half_even(paper_.height * 25.4);
    case kHorzRes:
    case kPhysicalWidth: return across;
    case kVertRes:
    case kPhysicalHeight: return down;
    case kPhysicalOffsetX:
    case kPhysicalOffsetY: return 0;  // the whole sheet is printable
    case kBitsPixel: return 32;
    case kPlanes: return 1;
    default: return 0;
    }
}

bool CairoSurface::reset_dc(const uint8_t* devmode, size_t size) {
    if (!devmode || size < 48) return false;
    const int16_t orientation = int16_t(devmode[44] | devmode[45] << 8);
    int16_t code = int16_t(devmode[46] | devmode[47] << 8);
    if (code < 1 || code > 41) code = 1;
    paper_.paper_size = code;
    paper_.landscape = orientation == 2;  // DMORIENT_LANDSCAPE
    const double width = paper_size(code, 1), height = paper_size(code, 0);
    paper_.width = paper_.landscape ? height : width;
    paper_.height = paper_.landscape ? width : height;
    return true;
}

int CairoSurface::start_page() {
    flush_text();
    if (page_start_) page_start_(paper_);
    return 1;
}

// ---- Lines and boxes ---------------------------------------------------------------

bool CairoSurface::move_to(int x, int y) {
    current_x_ = x;
    current_y_ = y;
    return true;
}

// Strokes in the device's own units, with the width scaled to match. The
// path is kept in device units already; a PDF page then holds each line
// as it is, with no matrix of its own around it.
void CairoSurface::stroke(double width) {
    cairo_matrix_t page;
    cairo_get_matrix(cr_, &page);
    const double scale = std::sqrt(std::fabs(page.xx * page.yy - page.xy * page.yx));
    cairo_identity_matrix(cr_);
    cairo_set_line_width(cr_, width * scale);
    cairo_stroke(cr_);
    cairo_set_matrix(cr_, &page);
}

// A line from a to b, the part of it that lies within kFar, so that it
// keeps its course where cairo's fixed point would wrap.
void CairoSurface::stroke_line(double ax, double ay, double bx, double by, cairo_line_cap_t cap,
                               double width) {
    if (!clip_to_square(kFar, &ax, &ay, &bx, &by)) return;
    cairo_move_to(cr_, ax, ay);
    cairo_line_to(cr_, bx, by);
    cairo_set_line_cap(cr_, cap);
    stroke(width);
}

// A filled box from edge to edge, in device units.
void CairoSurface::fill_box(double left, double top, double right, double bottom) {
    left = far_held(left);
    top = far_held(top);
    right = far_held(right);
    bottom = far_held(bottom);
    cairo_rectangle(cr_, left, top, right - left, bottom - top);
    cairo_fill(cr_);
}

// A level line on a scalable page, as the filled box of the pixels the pen
// sets: a cosmetic pen from the first pixel up to, not including, the
// last; a wide pen centred on the pixels and reaching half its width past
// both ends (square where GDI rounds them: a corner of under a pixel).
// False for a slanted line, which is stroked.
bool CairoSurface::fill_level_line(int x0, int y0, int x1, int y1, int width) {
    if (x0 != x1 && y0 != y1) return false;
    const double ax = x0, ay = y0, bx = x1, by = y1;
    if (width <= 1) {
        if (ax == bx)
            fill_box(ax, by > ay ? ay : by + 1, ax + 1, by > ay ? by : ay + 1);
        else
            fill_box(bx > ax ? ax : bx + 1, ay, bx > ax ? bx : ax + 1, ay + 1);
        return true;
    }
    const int before = pen_reach_before(width);
    fill_box(std::min(ax, bx) - before, std::min(ay, by) - before,
             std::max(ax, bx) - before + width, std::max(ay, by) - before + width);
    return true;
}

bool CairoSurface::line_to(int x, int y) {
    flush_text();
    const Object* pen = find(pen_, Kind::kPen);
    const int x0 = current_x_, y0 = current_y_;
    current_x_ = x;
    current_y_ = y;
    if (!pen || pen->width < 0 || (x == x0 && y == y0)) return true;
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);  // GDI sets whole pixels
    set_colour(pen->colour);
    if (scalable_ && fill_level_line(x0, y0, x, y, pen->width)) return true;
    if (pen->width <= 1) {
        // A cosmetic pen sets the pixels from the first point up to, not
        // including, the last: the stroke runs from the first pixel's
        // leading edge to the last pixel's leading edge along the main axis.
        const double dx = span(x0, x), dy = span(y0, y);
        double ax = 0.5, ay = 0.5;
        if (std::fabs(dx) >= std::fabs(dy))
            ax = dx > 0 ? 0.0 : 1.0;
        else
            ay = dy > 0 ? 0.0 : 1.0;
        stroke_line(x0 + ax, y0 + ay, x + ax, y + ay, CAIRO_LINE_CAP_BUTT, 1.0);
    } else {
        // A wide solid pen is centred on the pixels and has round ends.
        stroke_line(x0 + 0.5, y0 + 0.5, x + 0.5, y + 0.5, CAIRO_LINE_CAP_ROUND, pen->width);
    }
    return true;
}

// A box's outline on a scalable page, as filled boxes: the pen's colour
// over the whole figure with the pen's pixels outside the edge (a wide pen
// is centred on the edge pixels; square corners where GDI rounds them),
// then the brush's colour inside the pen's pixels.
void CairoSurface::outline_box(int left, int top, int right, int bottom, int width,
                               uint32_t brush_colour) {
    // The pen covers the edge pixels' columns and rows p - before to
    // p - before + width - 1: the left and top edges' p is left and top,
    // the right and bottom edges' is right - 1 and bottom - 1.
    width = std::max(1, width);
    const int before = pen_reach_before(width);
    const int far_out = width - 1 - before, far_in = 1 + before;
    const int near_in = width - before;
    fill_box(left - before, top - before, right + far_out, bottom + far_out);
    if (left + near_in >= right - far_in || top + near_in >= bottom - far_in) return;
    set_colour(brush_colour);
    fill_box(left + near_in, top + near_in, right - far_in, bottom - far_in);
}

bool CairoSurface::rectangle(int left, int top, int right, int bottom) {
    flush_text();
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // The figure takes the pixels from left to right - 1 and from top to
    // bottom - 1; an empty one draws nothing.
    if (span(left, right) < 1 || span(top, bottom) < 1) return true;
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    const Object* brush = find(brush_, Kind::kBrush);
    const Object* pen = find(pen_, Kind::kPen);
    const bool outlined = pen && pen->width >= 0;
    if (scalable_ && outlined && brush) {
        set_colour(pen->colour);
        outline_box(left, top, right, bottom, pen->width, brush->colour);
        return true;
    }
    if (brush) {
        set_colour(brush->colour);
        fill_box(left, top, right, bottom);
    }
    if (outlined) {
        set_colour(pen->colour);
        // The outline runs through the centres of the edge pixels.
        const double l = far_held(left + 0.5), t = far_held(top + 0.5);
        cairo_rectangle(cr_, l, t, far_held(right - 0.5) - l, far_held(bottom - 0.5) - t);
        cairo_set_line_join(cr_, pen->width > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
        stroke(std::max(1, pen->width));
    }
    return true;
}

// ---- Text --------------------------------------------------------------------------

void CairoSurface::draw_glyphs(int x, int y, const char* text, int count, const SurfaceRect* clip,
                               bool opaque_cell) {
    const Object* object = find(font_, Kind::kFont);
    if (!object || !text || count <= 0) return;
    // A text anchored where cairo's fixed point wraps could land anywhere.
    if (std::fabs(double(x)) > kFar || std::fabs(double(y)) > kFar) return;
    CairoFont& font = *object->font;
    const TextMetrics& m = font.metrics;
    const int width = extent(font, text, count).cx;

    // Where the reference point lies on the text: left, centre or right;
    // top, baseline or bottom.
    const unsigned horizontal = text_align_ & 6u;
    double start = 0;
    if (horizontal == gdi::kTaCenter)
        start = -double(width / 2);
    else if (horizontal == gdi::kTaRight)
        start = -double(width);
    double baseline = m.ascent;
    if ((text_align_ & kTaBaseline) == kTaBaseline)
        baseline = 0;
    else if (text_align_ & kTaBottom)
        baseline = -m.descent;

    // Plain text is placed by its glyph positions alone and joins the run
    // of texts before it when font and colour agree; clipped or turned
    // text gets its own state, put back afterwards.
    const bool own_state = clip || font.angle != 0;
    if (own_state || opaque_cell || run_font_.get() != &font || run_colour_ != text_colour_) flush_text();
    double origin_x = x, origin_y = y;
    if (own_state) {
        // The font is set outside the saved state, which would take it
        // back on restore behind select_font's back.
        select_font(object->font);
        cairo_save(cr_);
        if (clip) {
            const double l = far_held(clip->left), t = far_held(clip->top);
            cairo_rectangle(cr_, l, t, far_held(clip->right) - l, far_held(clip->bottom) - t);
            cairo_clip(cr_);
        }
        cairo_translate(cr_, x, y);
        if (font.angle != 0) cairo_rotate(cr_, -font.angle);
        origin_x = origin_y = 0;
    }
    start += origin_x;
    baseline += origin_y;
    if (opaque_cell) {
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
        set_colour(background_colour_);
        cairo_rectangle(cr_, start, baseline - m.ascent, width, m.height);
        cairo_fill(cr_);
    }
    run_font_ = object->font;
    run_colour_ = text_colour_;
    double pen_x = start;
    for (int i = 0; i < count; ++i) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        glyphs_.push_back(cairo_glyph_t{font.glyphs[c], pen_x, baseline});
        pen_x += font_drawn_advance(font, c);
    }
    append_clusters(text, count, &utf8_, &clusters_);
    // Text in its own state is drawn within it, and a line through or
    // under a text over the text.
    if (own_state || font.logfont.underline || font.logfont.strike_out) flush_text();
    if (font.logfont.underline) {
        cairo_rectangle(cr_, start, baseline + font.underline_position, width, font.underline_thickness);
        cairo_fill(cr_);
    }
    if (font.logfont.strike_out) {
        cairo_rectangle(cr_, start, baseline - font.strikeout_position, width, font.strikeout_thickness);
        cairo_fill(cr_);
    }
    if (own_state) cairo_restore(cr_);
}

// The pending run of texts, as one cairo call: each call costs cairo a
// command to record, replay and write, whatever its length.
void CairoSurface::flush_text() {
    if (glyphs_.empty()) return;
    select_font(run_font_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
    set_colour(run_colour_);
    cairo_show_text_glyphs(cr_, utf8_.data(), int(utf8_.size()), glyphs_.data(), int(glyphs_.size()),
                           clusters_.data(), int(clusters_.size()), cairo_text_cluster_flags_t(0));
    glyphs_.clear();
    utf8_.clear();
    clusters_.clear();
}

// The context keeps the font between texts: cairo looks a font up again
// each time one is set.
void CairoSurface::select_font(const std::shared_ptr<const CairoFont>& held) {
    if (held == font_set_) return;
    font_set_ = held;
    const CairoFont& font = *held;
    cairo_set_font_face(cr_, font.face);
    cairo_set_font_size(cr_, font.ppem);
    // A scalable page draws outlines: no hinting, which only fits glyphs
    // to a grid of pixels.
    const bool hinted = font.hinted && !scalable_;
    cairo_font_options_set_antialias(text_options_, font.smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(text_options_, hinted ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(cr_, text_options_);
}

bool CairoSurface::text_out(int x, int y, const char* text, int count) {
    draw_glyphs(x, y, text, count, nullptr, bk_mode_ == kOpaque);
    return true;
}

SurfaceSize CairoSurface::text_extent(const char* text, int count) {
    const Object* object = find(font_, Kind::kFont);
    if (!object || !text || count < 0) return SurfaceSize{};
    return extent(*object->font, text, count);
}

TextMetrics CairoSurface::text_metrics() {
    const Object* object = find(font_, Kind::kFont);
    return object ? object->font->metrics : TextMetrics{};
}

bool CairoSurface::ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect,
                                const char* text, int count) {
    if (rect && (options & gdi::kEtoOpaque)) {
        flush_text();
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
        set_colour(background_colour_);
        fill_box(rect->left, rect->top, rect->right, rect->bottom);
    }
    const SurfaceRect* clip = rect && (options & gdi::kEtoClipped) ? rect : nullptr;
    if (clip && (clip->right <= clip->left || clip->bottom <= clip->top)) return true;
    draw_glyphs(x, y, text, count, clip, bk_mode_ == kOpaque && !(options & gdi::kEtoOpaque));
    return true;
}

int CairoSurface::draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) {
    const Object* object = find(font_, Kind::kFont);
    if (!object || !text || !rect) return 0;
    CairoFont& font = *object->font;
    const std::string whole(text);
    const int line_height = wrapped_line_height(font.metrics, format);
    // The same line breaks as the page text reader finds; without
    // DT_WORDBREAK only line breaks end lines.
    const int width = (format & gdi::kDtWordBreak)
                          ? int(std::clamp<int64_t>(int64_t(rect->right) - rect->left, INT32_MIN, INT32_MAX))
                          : INT32_MAX;
    const std::vector<TextLine> lines = wrap_text_lines(*this, whole, width);
    const bool clip = !(format & kDtNoClip);
    const unsigned saved_align = text_align_;
    text_align_ = gdi::kTaLeftTop;
    int y = rect->top;
    int widest = 0;
    for (const TextLine& line : lines) {
        const bool last = wrapped_line_is_last(y, line_height, rect->bottom, format);
        const char* s = whole.data() + line.start;
        const int line_width = extent(font, s, int(line.length)).cx;
        widest = std::max(widest, line_width);
        int64_t x = rect->left;
        if (format & kDtCenter) x = rect->left + (int64_t(rect->right) - rect->left - line_width) / 2;
        if (format & kDtRight) x = int64_t(rect->right) - line_width;
        if (!(format & kDtCalcRect))
            draw_glyphs(int(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)), y, s, int(line.length),
                        clip ? rect : nullptr, bk_mode_ == kOpaque);
        y = saturated_sum(y, line_height);
        if (last) break;
    }
    text_align_ = saved_align;
    if (format & kDtCalcRect) {
        rect->right = saturated_sum(rect->left, widest);
        rect->bottom = y;
    }
    return int(std::clamp<int64_t>(int64_t(y) - rect->top, INT32_MIN, INT32_MAX));
}

uint32_t CairoSurface::set_text_color(uint32_t colour) {
    const uint32_t previous = text_colour_;
    text_colour_ = colour & 0xFFFFFF;
    return previous;
}

int CairoSurface::set_bk_mode(int mode) {
    const int previous = bk_mode_;
    if (mode == gdi::kTransparent || mode == kOpaque) bk_mode_ = mode;
    return previous;
}

unsigned CairoSurface::set_text_align(unsigned align) {
    const unsigned previous = text_align_;
    text_align_ = align;
    return previous;
}

// ---- Pictures ------------------------------------------------------------------------

SurfaceHandle CairoSurface::load_bitmap_file(const char* path) {
    cairo_surface_t* image = path ? load_bitmap_image(path) : nullptr;
    if (!image) return 0;
    Object bitmap;
    bitmap.kind = Kind::kBitmap;
    bitmap.image = image;
    return add(bitmap);
}

bool CairoSurface::bitmap_info(SurfaceHandle handle, BitmapInfo* info) {
    const Object* bitmap = find(handle, Kind::kBitmap);
    if (!bitmap || !info) return false;
    info->width = cairo_image_surface_get_width(bitmap->image);
    info->height = cairo_image_surface_get_height(bitmap->image);
    info->bits_pixel = 32;  // a bitmap compatible with a true-colour screen
    return true;
}

SurfaceHandle CairoSurface::create_picture_dc() {
    Object dc;
    dc.kind = Kind::kMemoryDc;
    dc.selected = stock_bitmap_;
    return add(dc);
}

SurfaceHandle CairoSurface::select_into(SurfaceHandle dc, SurfaceHandle object) {
    Object* memory = find(dc, Kind::kMemoryDc);
    if (!memory || !find(object, Kind::kBitmap)) return 0;
    const SurfaceHandle previous = memory->selected;
    memory->selected = object;
    return previous;
}

bool CairoSurface::delete_dc(SurfaceHandle dc) {
    if (!find(dc, Kind::kMemoryDc)) return false;
    objects_.erase(dc);
    return true;
}

void CairoSurface::draw_image(cairo_surface_t* image, int x, int y, int width, int height,
                              int source_x, int source_y, int source_width, int source_height) {
    if (width == 0 || height == 0 || source_width == 0 || source_height == 0) return;
    flush_text();
    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
    const double left = far_held(std::min(double(x), double(x) + width));
    const double top = far_held(std::min(double(y), double(y) + height));
    cairo_rectangle(cr_, left, top, far_held(std::max(double(x), double(x) + width)) - left,
                    far_held(std::max(double(y), double(y) + height)) - top);
    cairo_clip(cr_);
    cairo_translate(cr_, x, y);
    cairo_scale(cr_, double(width) / source_width, double(height) / source_height);
    cairo_set_source_surface(cr_, image, -double(source_x), -double(source_y));
    // StretchBlt takes whole source pixels; no smoothing.
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

bool CairoSurface::stretch_blt(int x, int y, int width, int height, SurfaceHandle source_dc,
                               int source_x, int source_y, int source_width, int source_height,
                               uint32_t) {
    const Object* memory = find(source_dc, Kind::kMemoryDc);
    const Object* bitmap = memory ? find(memory->selected, Kind::kBitmap) : nullptr;
    if (!bitmap) return false;
    draw_image(bitmap->image, x, y, width, height, source_x, source_y, source_width, source_height);
    return true;
}

int CairoSurface::get_dibits(SurfaceHandle dc, SurfaceHandle handle, unsigned start,
                             unsigned lines, void* bits, DibDescription* description, unsigned) {
    const Object* bitmap = find(handle, Kind::kBitmap);
    if (!find(dc, Kind::kMemoryDc) || !bitmap || !description) return 0;
    return image_to_dib(bitmap->image, start, lines, bits, *description);
}

int CairoSurface::stretch_dibits(int x, int y, int width, int height, int source_x, int source_y,
                                 int source_width, int source_height, const void* bits,
                                 const DibDescription* description, unsigned, uint32_t) {
    if (!description) return 0;
    cairo_surface_t* image = dib_to_image(bits, *description);
    if (!image) return 0;
    // A bottom-up bitmap counts its source rows from the bottom.
    const int rows = cairo_image_surface_get_height(image);
    const int64_t top = description->height > 0 ? int64_t(rows) - source_y - source_height : source_y;
    if (top < INT32_MIN || top > INT32_MAX) {
        cairo_surface_destroy(image);
        return 0;
    }
    draw_image(image, x, y, width, height, source_x, int(top), source_width, source_height);
    cairo_surface_destroy(image);
    return source_height;
}

}  // namespace vell
