#include "render/recording_surface.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "document/bytes.h"
#include "document/file_io.h"

namespace vell {

const char* surface_op_name(SurfaceOp op) {
    switch (op) {
    case SurfaceOp::kCreatePen: return "CreatePen";
    case SurfaceOp::kCreateSolidBrush: return "CreateSolidBrush";
    case SurfaceOp::kCreateFont: return "CreateFontIndirectA";
    case SurfaceOp::kSelectObject: return "SelectObject";
    case SurfaceOp::kDeleteObject: return "DeleteObject";
    case SurfaceOp::kGetDeviceCaps: return "GetDeviceCaps";
    case SurfaceOp::kDesktopResolution: return "DesktopResolution";
    case SurfaceOp::kMoveTo: return "MoveToEx";
    case SurfaceOp::kLineTo: return "LineTo";
    case SurfaceOp::kRectangle: return "Rectangle";
    case SurfaceOp::kTextOut: return "TextOutA";
    case SurfaceOp::kTextExtent: return "GetTextExtentPoint32A";
    case SurfaceOp::kTextMetrics: return "GetTextMetricsA";
    case SurfaceOp::kExtTextOut: return "ExtTextOutA";
    case SurfaceOp::kDrawTextEx: return "DrawTextExA";
    case SurfaceOp::kSetTextColor: return "SetTextColor";
    case SurfaceOp::kSetBkMode: return "SetBkMode";
    case SurfaceOp::kSetTextAlign: return "SetTextAlign";
    case SurfaceOp::kLoadBitmap: return "LoadImageA";
    case SurfaceOp::kBitmapInfo: return "GetObjectA";
    case SurfaceOp::kCreatePictureDc: return "CreateCompatibleDC";
    case SurfaceOp::kSelectInto: return "SelectObject(memory)";
    case SurfaceOp::kDeleteDc: return "DeleteDC";
    case SurfaceOp::kStretchBlt: return "StretchBlt";
    case SurfaceOp::kGetDIBits: return "GetDIBits";
    case SurfaceOp::kStretchDIBits: return "StretchDIBits";
    case SurfaceOp::kResetDc: return "ResetDCA";
    case SurfaceOp::kStartPage: return "StartPage";
    }
    return "?";
}

std::string to_string(const RecordedCall& call) {
    std::ostringstream out;
    out << surface_op_name(call.op) << "(";
    for (size_t i = 0; i < call.args.size(); ++i) out << (i ? ", " : "") << call.args[i];
    if (!call.text.empty() && call.op != SurfaceOp::kResetDc && call.op != SurfaceOp::kStretchDIBits)
        out << (call.args.empty() ? "" : ", ") << '"' << call.text.substr(0, 40)
            << (call.text.size() > 40 ? "..." : "") << '"';
    if (call.has_rect)
        out << ", {" << call.rect.left << ", " << call.rect.top << ", " << call.rect.right << ", "
            << call.rect.bottom << "}";
    out << ")";
    return out.str();
}

RecordingSurface::RecordingSurface(Resolution device, Resolution desktop)
    : device_(device), desktop_(desktop) {
    Object pen;
    pen.kind = Kind::kPen;
    pen.stock = true;
    stock_pen_ = selected_pen_ = add(pen);
    Object brush;
    brush.kind = Kind::kBrush;
    brush.stock = true;
    stock_brush_ = selected_brush_ = add(brush);
    Object font;
    font.kind = Kind::kFont;
    font.stock = true;
    font.font.height = 16;
    std::strcpy(font.font.face_name, "System");
    stock_font_ = selected_font_ = add(font);
    Object bitmap;
    bitmap.kind = Kind::kBitmap;
    bitmap.stock = true;
    bitmap.bitmap = BitmapInfo{1, 1, 1};
    stock_bitmap_ = selected_bitmap_ = add(bitmap);
}

SurfaceHandle RecordingSurface::add(Object object) {
    SurfaceHandle handle = next_handle_++;
    objects_[handle] = object;
    return handle;
}

RecordedCall& RecordingSurface::record(SurfaceOp op, std::vector<int64_t> args) {
    calls_.emplace_back();
    RecordedCall& call = calls_.back();
    call.op = op;
    call.args = std::move(args);
    return call;
}

RecordedCall& RecordingSurface::record_text(SurfaceOp op, std::vector<int64_t> args,
                                            const char* text, int count) {
    RecordedCall& call = record(op, std::move(args));
    if (text && count > 0) call.text.assign(text, size_t(count));
    call.font = current_font();
    call.text_colour = text_colour_;
    call.text_align = text_align_;
    call.bk_mode = bk_mode_;
    return call;
}

const LogFont& RecordingSurface::current_font() const { return objects_.at(selected_font_).font; }

LogFont RecordingSurface::font_of(SurfaceHandle font) const {
    auto it = objects_.find(font);
    return it != objects_.end() && it->second.kind == Kind::kFont ? it->second.font : LogFont();
}

size_t RecordingSurface::live_objects() const {
    size_t n = 0;
    for (const auto& entry : objects_)
        if (!entry.second.stock) ++n;
    return n;
}

// ---- Objects -------------------------------------------------------------------

SurfaceHandle RecordingSurface::add_created(Object object) {
    if (failing_creations_ > 0) {
        --failing_creations_;
        return 0;
    }
    return add(object);
}

SurfaceHandle RecordingSurface::create_pen(int style, int width, uint32_t colour) {
    Object pen;
    pen.kind = Kind::kPen;
    SurfaceHandle handle = add_created(pen);
    record(SurfaceOp::kCreatePen, {style, width, colour}).result = handle;
    return handle;
}

SurfaceHandle RecordingSurface::create_solid_brush(uint32_t colour) {
    Object brush;
    brush.kind = Kind::kBrush;
    SurfaceHandle handle = add_created(brush);
    record(SurfaceOp::kCreateSolidBrush, {colour}).result = handle;
    return handle;
}

SurfaceHandle RecordingSurface::create_font_indirect(const LogFont& font) {
    Object object;
    object.kind = Kind::kFont;
    object.font = font;
    SurfaceHandle handle = add_created(object);
    RecordedCall& call = record(SurfaceOp::kCreateFont, {});
    call.font = font;
    call.text = font.face_name;
    call.result = handle;
    return handle;
}

SurfaceHandle RecordingSurface::select_object(SurfaceHandle object) {
    RecordedCall& call = record(SurfaceOp::kSelectObject, {int64_t(object)});
    auto it = objects_.find(object);
    if (it == objects_.end() || it->second.kind == Kind::kDc) {
        problems_.push_back("SelectObject of unknown object " + std::to_string(object));
        return 0;
    }
    SurfaceHandle* slot = nullptr;
    switch (it->second.kind) {
    case Kind::kPen: slot = &selected_pen_; break;
    case Kind::kBrush: slot = &selected_brush_; break;
    case Kind::kFont: slot = &selected_font_; break;
    default: slot = &selected_bitmap_; break;
    }
    SurfaceHandle previous = *slot;
    *slot = object;
    call.result = previous;
    return previous;
}

bool RecordingSurface::delete_object(SurfaceHandle object) {
    record(SurfaceOp::kDeleteObject, {int64_t(object)});
    auto it = objects_.find(object);
    if (it == objects_.end() || it->second.kind == Kind::kDc) {
        problems_.push_back("DeleteObject of unknown object " + std::to_string(object));
        return false;
    }
    if (it->second.stock) {
        problems_.push_back("DeleteObject of a stock object " + std::to_string(object));
        return false;
    }
    if (object == selected_pen_ || object == selected_brush_ || object == selected_font_ ||
        object == selected_bitmap_) {
        problems_.push_back("DeleteObject of a selected object " + std::to_string(object));
        return false;
    }
    for (const auto& entry : objects_)
        if (entry.second.kind == Kind::kDc && entry.second.selected_bitmap == object) {
            problems_.push_back("DeleteObject of a bitmap selected into a memory DC");
            return false;
        }
    objects_.erase(it);
    return true;
}

// ---- Device ----------------------------------------------------------------------

int RecordingSurface::device_caps(int index) {
    int value = index == gdi::kLogPixelsX ? device_.x : index == gdi::kLogPixelsY ? device_.y : 0;
    record(SurfaceOp::kGetDeviceCaps, {index}).result = uint64_t(value);
    return value;
}

Resolution RecordingSurface::desktop_resolution() {
    record(SurfaceOp::kDesktopResolution, {desktop_.x, desktop_.y});
    return desktop_;
}

// ---- Lines and boxes ----------------------------------------------------------------

bool RecordingSurface::move_to(int x, int y) {
    record(SurfaceOp::kMoveTo, {x, y});
    return true;
}

bool RecordingSurface::line_to(int x, int y) {
    record(SurfaceOp::kLineTo, {x, y});
    return true;
}

bool RecordingSurface::rectangle(int left, int top, int right, int bottom) {
    record(SurfaceOp::kRectangle, {left, top, right, bottom});
    return true;
}

// ---- Text -------------------------------------------------------------------------------

int RecordingSurface::model_em(const LogFont& font) {
    int64_t em = 12;
    if (font.height < 0) em = -int64_t(font.height);
    if (font.height > 0) em = int64_t(font.height) * 4 / 5;
    return int(em < kModelMaxEm ? em : kModelMaxEm);
}

int RecordingSurface::model_width(const LogFont& font, const std::string& text) {
    int64_t quarters = 0;
    for (unsigned char c : text) {
        if (std::strchr(" .,:;'!|il", c) && c != 0)
            quarters += 1;
        else if (std::strchr("MWmw@", c) && c != 0)
            quarters += 4;
        else
            quarters += 2;
    }
    return int(quarters * model_em(font) / 4);
}

TextMetrics RecordingSurface::model_metrics(const LogFont& font) {
    const int em = model_em(font);
    TextMetrics m;
    m.internal_leading = em / 4;
    m.height = em + m.internal_leading;
    m.descent = em / 5;
    m.ascent = m.height - m.descent;
    m.external_leading = em / 8;
    m.ave_char_width = em / 2;
    m.max_char_width = em;
    return m;
}

bool RecordingSurface::text_out(int x, int y, const char* text, int count) {
    record_text(SurfaceOp::kTextOut, {x, y, count}, text, count);
    return true;
}

SurfaceSize RecordingSurface::text_extent(const char* text, int count) {
    std::string s = text && count > 0 ? std::string(text, size_t(count)) : std::string();
    SurfaceSize size{model_width(current_font(), s), model_metrics(current_font()).height};
    record_text(SurfaceOp::kTextExtent, {count}, text, count).result = uint64_t(size.cx);
    return size;
}

TextMetrics RecordingSurface::text_metrics() {
    TextMetrics m = model_metrics(current_font());
    record_text(SurfaceOp::kTextMetrics, {}, nullptr, 0).result = uint64_t(m.height);
    return m;
}

bool RecordingSurface::ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect,
                                    const char* text, int count) {
    RecordedCall& call = record_text(SurfaceOp::kExtTextOut, {x, y, options, count}, text, count);
    if (rect) {
        call.rect = *rect;
        call.has_rect = true;
    }
    return true;
}

int RecordingSurface::draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) {
    std::string s = text ? text : "";
    RecordedCall& call = record_text(SurfaceOp::kDrawTextEx, {-1, format}, s.data(), int(s.size()));
    if (rect) {
        call.rect = *rect;
        call.has_rect = true;
    }
    int lines = 1;
    for (char c : s)
        if (c == '\n') ++lines;
    return lines * model_metrics(current_font()).height;
}

uint32_t RecordingSurface::set_text_color(uint32_t colour) {
    uint32_t previous = text_colour_;
    text_colour_ = colour;
    record(SurfaceOp::kSetTextColor, {colour}).result = previous;
    return previous;
}

int RecordingSurface::set_bk_mode(int mode) {
    int previous = bk_mode_;
    bk_mode_ = mode;
    record(SurfaceOp::kSetBkMode, {mode}).result = uint64_t(previous);
    return previous;
}

unsigned RecordingSurface::set_text_align(unsigned align) {
    unsigned previous = text_align_;
    text_align_ = align;
    record(SurfaceOp::kSetTextAlign, {align}).result = previous;
    return previous;
}

// ---- Pictures ---------------------------------------------------------------------------

SurfaceHandle RecordingSurface::load_bitmap_file(const char* path) {
    RecordedCall& call = record(SurfaceOp::kLoadBitmap, {});
    call.text = path ? path : "";
    File file;
    if (!file.open_read(call.text)) return 0;
    uint8_t head[30] = {};
    const size_t got = file.read_at(0, head, sizeof head);
    if (got < 26 || head[0] != 'B' || head[1] != 'M') return 0;
    const uint32_t header_size = get_u32(head, sizeof head, 14);
    Object bitmap;
    bitmap.kind = Kind::kBitmap;
    if (header_size == 12) {
        bitmap.bitmap.width = get_u16(head, sizeof head, 18);
        bitmap.bitmap.height = get_u16(head, sizeof head, 20);
        bitmap.bitmap.bits_pixel = get_u16(head, sizeof head, 24);
    } else if (header_size >= 40 && got >= 30) {
        bitmap.bitmap.width = get_i32(head, sizeof head, 18);
        bitmap.bitmap.height = std::abs(get_i32(head, sizeof head, 22));
        bitmap.bitmap.bits_pixel = get_u16(head, sizeof head, 28);
    } else {
        return 0;
    }
    if (bitmap.bitmap.width <= 0 || bitmap.bitmap.height <= 0) return 0;
    SurfaceHandle handle = add(bitmap);
    call.result = handle;
    return handle;
}

bool RecordingSurface::bitmap_info(SurfaceHandle bitmap, BitmapInfo* info) {
    record(SurfaceOp::kBitmapInfo, {int64_t(bitmap)});
    auto it = objects_.find(bitmap);
    if (it == objects_.end() || it->second.kind != Kind::kBitmap) return false;
    *info = it->second.bitmap;
    return true;
}

SurfaceHandle RecordingSurface::create_picture_dc() {
    Object dc;
    dc.kind = Kind::kDc;
    dc.selected_bitmap = 0;
    SurfaceHandle handle = add(dc);
    record(SurfaceOp::kCreatePictureDc, {}).result = handle;
    return handle;
}

SurfaceHandle RecordingSurface::select_into(SurfaceHandle dc, SurfaceHandle object) {
    RecordedCall& call = record(SurfaceOp::kSelectInto, {int64_t(dc), int64_t(object)});
    auto it = objects_.find(dc);
    if (it == objects_.end() || it->second.kind != Kind::kDc) {
        problems_.push_back("SelectObject into an unknown memory DC");
        return 0;
    }
    // A memory device context starts with the stock one-pixel bitmap.
    SurfaceHandle previous = it->second.selected_bitmap ? it->second.selected_bitmap : stock_bitmap_;
    it->second.selected_bitmap = object == stock_bitmap_ ? 0 : object;
    call.result = previous;
    return previous;
}

bool RecordingSurface::delete_dc(SurfaceHandle dc) {
    record(SurfaceOp::kDeleteDc, {int64_t(dc)});
    auto it = objects_.find(dc);
    if (it == objects_.end() || it->second.kind != Kind::kDc) {
        problems_.push_back("DeleteDC of an unknown DC");
        return false;
    }
    objects_.erase(it);
    return true;
}

bool RecordingSurface::stretch_blt(int x, int y, int width, int height, SurfaceHandle source_dc,
                                   int source_x, int source_y, int source_width,
                                   int source_height, uint32_t rop) {
    RecordedCall& call = record(SurfaceOp::kStretchBlt,
                                {x, y, width, height, int64_t(source_dc), source_x, source_y,
                                 source_width, source_height, rop});
    auto it = objects_.find(source_dc);
    call.result = it != objects_.end() ? it->second.selected_bitmap : 0;  // what was copied
    return true;
}

int RecordingSurface::get_dibits(SurfaceHandle dc, SurfaceHandle bitmap, unsigned start,
                                 unsigned lines, void* bits, DibDescription* description,
                                 unsigned usage) {
    RecordedCall& call = record(SurfaceOp::kGetDIBits,
                                {int64_t(dc), int64_t(bitmap), start, lines, bits != nullptr, usage});
    if (description) call.dib = *description;
    return int(lines);
}

int RecordingSurface::stretch_dibits(int x, int y, int width, int height, int source_x,
                                     int source_y, int source_width, int source_height,
                                     const void* bits, const DibDescription* description,
                                     unsigned usage, uint32_t rop) {
    RecordedCall& call = record(SurfaceOp::kStretchDIBits,
                                {x, y, width, height, source_x, source_y, source_width,
                                 source_height, bits != nullptr, usage, rop});
    if (description) {
        call.dib = *description;
        // The bits as the printer gets them, for pictures of a few pixels.
        const uint64_t row = (uint64_t(description->width > 0 ? description->width : 0) *
                                  description->bit_count + 31) / 32 * 4;
        const uint64_t size = row * uint64_t(description->height > 0 ? description->height : 0);
        if (bits && size <= kRecordedBitsLimit)
            call.text.assign(static_cast<const char*>(bits), size_t(size));
    }
    return height;
}

// ---- Printer pages -----------------------------------------------------------------------

bool RecordingSurface::reset_dc(const uint8_t* devmode, size_t size) {
    RecordedCall& call = record(SurfaceOp::kResetDc, {int64_t(size)});
    if (devmode) call.text.assign(reinterpret_cast<const char*>(devmode), size);
    return true;
}

int RecordingSurface::start_page() {
    record(SurfaceOp::kStartPage, {});
    return 1;
}

std::vector<RecordedCall> RecordingSurface::calls_of(SurfaceOp op) const {
    std::vector<RecordedCall> out;
    for (const RecordedCall& call : calls_)
        if (call.op == op) out.push_back(call);
    return out;
}

}  // namespace vell
