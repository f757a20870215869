// The texts of a page with the places they are drawn at: what find and the
// plain-text output read.
//
// A page's texts are found by running the page interpreter on a surface
// that draws nothing and records every text it is asked to draw (aligned,
// rotated, boxed and wrapped texts, page numbers and page totals). Every
// measurement goes to an inner surface, so texts measure with the metrics
// of the device that shows them: GDI in the viewer, cairo in the
// converter, the recording surface's font model in the unit tests.
//
// A page's text is its pieces (one per text drawn, one per line of a
// wrapped text) in reading order, grouped in lines, each piece linked to
// the one read after it; text_part_rect gives the box of any run of a
// piece's characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/interpreter.h"
#include "render/surface.h"

namespace vell {

// A rectangle in page units: inches from the page's top-left corner.
struct PageRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

enum class PageTextKind {
    kText,     // TextOutA: aligned and rotated texts, page numbers and totals
    kBoxed,    // boxed text, clipped to its box
    kWrapped,  // one line of a wrapped text
};

struct PageTextItem {
    std::string text;  // as drawn: cut at its first NUL and at 3999 characters
    PageTextKind kind = PageTextKind::kText;
    int angle = 0;   // degrees counterclockwise, from the font
    PageRect rect;   // the box the text covers (its bounds when rotated)
    // The top-left corner of the first character cell and the font the text
    // was measured with, so that part of it can be measured again.
    double origin_x = 0;
    double origin_y = 0;
    LogFont font;
    // Filled only when the page was read with character geometry: the
    // surface's partial extents (pixels along the baseline from the first
    // cell's corner, one a character), the cell's height and the width of
    // a blank in the text's font.
    std::vector<int32_t> char_ends;
    int32_t cell_height = 0;
    int32_t blank_width = 0;
    // Which drawing call made it, counted from 0 in drawing order: the lines
    // of one wrapped text share it.
    int drawn = 0;
    // The piece read right after this one (an index into the page's items),
    // or -1: the next line of the same wrapped text, else the next piece of
    // the same line. joined: the next piece goes on with this one's word (a
    // wrapped text broke the word between lines); otherwise a word break
    // lies between them.
    int next = -1;
    bool joined = false;
};

// A line of the page as read: items [first, first + count) of the page's
// items, left to right.
struct PageTextLine {
    size_t first = 0;
    size_t count = 0;
};

struct PageText {
    std::vector<PageTextItem> items;  // reading order
    std::vector<PageTextLine> lines;  // reading order; every item in one line
    // Device pixels per inch the texts were measured at (resolution x the
    // zoom the page is drawn with).
    double scale_x = 96;
    double scale_y = 96;
};

// One line of a wrapped text: the characters [start, start + length).
struct TextLine {
    size_t start = 0;
    size_t length = 0;
};

// Records the texts drawn on it; measures through inner. Lines, boxes and
// pictures are swallowed; pens and brushes never reach the inner surface.
class PageTextSurface : public Surface {
public:
    // Device pixels become inches through scale (pixels per inch).
    PageTextSurface(Surface& inner, double scale_x, double scale_y);

    // The texts drawn so far, in drawing order.
    const std::vector<PageTextItem>& items() const { return items_; }
    std::vector<PageTextItem> take_items() { return std::move(items_); }
    // Records each text's character geometry too (for selecting and copying).
    void record_char_geometry(bool on) { char_geometry_ = on; }

    SurfaceHandle create_pen(int style, int width, uint32_t colour) override;
    SurfaceHandle create_solid_brush(uint32_t colour) override;
    SurfaceHandle create_font_indirect(const LogFont& font) override;
    SurfaceHandle select_object(SurfaceHandle object) override;
    bool delete_object(SurfaceHandle object) override;
    int device_caps(int index) override;
    Resolution desktop_resolution() override;
    bool move_to(int, int) override { return true; }
    bool line_to(int, int) override { return true; }
    bool rectangle(int, int, int, int) override { return true; }
    bool text_out(int x, int y, const char* text, int count) override;
    SurfaceSize text_extent(const char* text, int count) override;
    TextMetrics text_metrics() override;
    void text_partial_extents(const char* text, int count, int32_t* ends) override {
        inner_.text_partial_extents(text, count, ends);
    }
    bool ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect, const char* text,
                      int count) override;
    int draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) override;
    uint32_t set_text_color(uint32_t colour) override;
    int set_bk_mode(int mode) override;
    unsigned set_text_align(unsigned align) override;
    SurfaceHandle load_bitmap_file(const char*) override { return 0; }
    bool bitmap_info(SurfaceHandle, BitmapInfo*) override { return false; }
    SurfaceHandle create_picture_dc() override { return 0; }
    SurfaceHandle select_into(SurfaceHandle, SurfaceHandle) override { return 0; }
    bool delete_dc(SurfaceHandle) override { return true; }
    bool stretch_blt(int, int, int, int, SurfaceHandle, int, int, int, int, uint32_t) override {
        return true;
    }
    int get_dibits(SurfaceHandle, SurfaceHandle, unsigned, unsigned, void*, DibDescription*,
                   unsigned) override {
        return 0;
    }
    int stretch_dibits(int, int, int, int, int, int, int, int, const void*, const DibDescription*,
                       unsigned, uint32_t) override {
        return 0;
    }
    bool reset_dc(const uint8_t*, size_t) override { return true; }
    int start_page() override { return 1; }

private:
    struct FontEntry {
        SurfaceHandle handle = 0;
        LogFont font;
    };
    // Adds one text drawn with its first cell's corner at (x, y) pixels in
    // the current font, anchored as the text alignment says; clip (pixels)
    // limits what it covers. False for an empty text, which adds nothing.
    bool add_text(int x, int y, const std::string& text, PageTextKind kind,
                  const SurfaceRect* clip);
    bool is_own(SurfaceHandle object) const;

    Surface& inner_;
    double scale_x_, scale_y_;
    std::vector<PageTextItem> items_;
    int drawn_ = 0;  // drawing calls so far
    std::vector<FontEntry> fonts_;  // fonts made through this surface
    LogFont current_font_;
    SurfaceHandle next_own_;  // serial of the latest pen or brush
    SurfaceHandle pen_, brush_;
    uint32_t text_colour_ = 0;
    int bk_mode_ = 2;
    unsigned text_align_ = 0;
    bool char_geometry_ = false;
};

// Reads the texts of a page: runs the interpreter on its bytes over a
// PageTextSurface, at the measuring surface's resolution and the zoom the
// page is drawn with (see drawn_zoom), and puts the texts in reading order.
// Changes nothing outside the surfaces: no geometry, labels, notices,
// pictures or page state.
// char_geometry: each text also gets its characters' extents.
PageText read_page_text(const PageSource& page, Surface& measure, bool char_geometry = false);

// Reading order: lines from top to bottom, texts from left to right in
// each. A text joins a line when at least half of it, or half of the line,
// lies in the line's height; a turned text is a line of its own. Fills the
// page's lines and links each piece to the one read after it.
void sort_reading_order(PageText& page);

// The rectangle of count characters from offset of an item, measured again
// in its font on the measuring surface (the whole item's rectangle when the
// font cannot be made again).
PageRect text_part_rect(Surface& measure, const PageText& page, const PageTextItem& item,
                        size_t offset, size_t count);

// The rectangle (inches) of a run of an item's text that starts start
// pixels along its baseline from the first cell's corner and is width by
// height pixels, within what the whole text covers.
PageRect item_run_rect(const PageText& page, const PageTextItem& item, double start, double width,
                       double height);

// The lines DrawTextExA with DT_WORDBREAK | DT_EDITCONTROL breaks text into
// for a width in pixels, measured on surface with its selected font: line
// breaks (CR, LF, CR LF) start a new line, words move to the next line when
// they would pass the width, and a word wider than a line is broken between
// characters. The blanks at a break belong to no line.
std::vector<TextLine> wrap_text_lines(Surface& surface, const std::string& text, int width);

// The height of one wrapped line in a font with these metrics.
int wrapped_line_height(const TextMetrics& metrics, unsigned format);
// Whether the wrapped line drawn at y is the last one drawn into a
// rectangle whose bottom is `bottom`: clipped drawing stops when the next
// line would pass the bottom, and an edit control also leaves out a next
// line that would show only in part. The first line is always drawn.
bool wrapped_line_is_last(int64_t y, int line_height, int64_t bottom, unsigned format);

}  // namespace vell
