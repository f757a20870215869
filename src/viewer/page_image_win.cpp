// The page image on Windows: the bitmap, rendering the current page into
// it, and copying it into the page area.
#include "viewer/page_image_win.h"

#include <memory>

#include "document/document.h"
#include "document/format.h"
#include "render/gdi_surface_win.h"
#include "render/interpreter.h"
#include "render/unknown_notice.h"
#include "render/units.h"
#include "viewer/navigation.h"
#include "viewer/page_image.h"
#include "viewer/zoom.h"

namespace vell {

namespace {

// The page image of the viewer window: exists from window set-up to
// WM_CLOSE.
struct PageImage {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ kept_bitmap = nullptr;  // selected back before the bitmap is deleted
    ImageSize size;
    ImageSize base_size;  // made at set-up: the size pages come back to
    PageImageWindows windows;
    // One surface for the image's whole life: its font pool keeps the
    // glyphs of the page's fonts warm from one render to the next.
    std::unique_ptr<GdiSurface> surface;
    // The window's fit step, called by the image's own fit step while a
    // redraw runs.
    void (*window_fit)() = nullptr;
    // A redraw is running; one asked for meanwhile runs after it.
    bool drawing = false;
    bool redraw_again = false;
};

PageImage& page_image() {
    static PageImage state;
    return state;
}

// An object selected into a device context for one scope, and the one it
// replaced selected back at its end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A font made for one redraw, deleted at its end (after its selection).
class OwnedFont {
public:
    explicit OwnedFont(HFONT font) : font_(font) {}
    ~OwnedFont() {
        if (font_) DeleteObject(font_);
    }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;
    HFONT get() const { return font_; }

private:
    HFONT font_;
};

// White with a one-pixel black line along the four edges. The stock white
// brush and black pen are selected for it explicitly: the image may be
// cleared in the middle of a render, when the interpreter's own brush and
// pen are selected.
void clear_image(const PageImage& image) {
    Selection brush(image.dc, GetStockObject(WHITE_BRUSH));
    Selection pen(image.dc, GetStockObject(BLACK_PEN));
    Rectangle(image.dc, 0, 0, image.size.width, image.size.height);
}

HBITMAP screen_bitmap(ImageSize size) {
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    if (!screen) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.width, size.height);
    ReleaseDC(desktop, screen);
    return bitmap;
}

// Gives the image the size the page at the zoom it is about to be drawn at
// wants: larger for a large page, the set-up size again for a page that
// fits it. A bitmap that cannot be made gives way to the largest one that
// can; if none can, the image stays as it was and the page is cut at its
// edge.
void hold_page(PageImage& image, PixelExtent page) {
    image.size = settle_image_size(image.size, image.base_size, page, [&](ImageSize size) {
        HBITMAP replacement = screen_bitmap(size);
        if (!replacement) return false;
        SelectObject(image.dc, replacement);
        DeleteObject(image.bitmap);
        image.bitmap = replacement;
        image.size = size;
        clear_image(image);
        return true;
    });
}

// The fit step of a redraw: the window fits its page area and applies the
// zoom box, then the image makes sure it holds the page at the zoom the
// interpreter is about to draw at.
void fit_and_hold_page() {
    PageImage& image = page_image();
    if (image.window_fit) image.window_fit();
    const int32_t option = header_i32(the_document(), hdr::kDisplayOption);
    hold_page(image, page_extent(drawn_zoom(zoom_factor().value, option)));
}

// Puts the window's fit step in front of the image's for one render, and
// back afterwards whatever happens.
class FitStepForRender {
public:
    explicit FitStepForRender(PageImage& image) : image_(image) {
        image_.window_fit = render_hooks().fit_page_area;
        render_hooks().fit_page_area = fit_and_hold_page;
    }
    ~FitStepForRender() {
        render_hooks().fit_page_area = image_.window_fit;
        image_.window_fit = nullptr;
    }
    FitStepForRender(const FitStepForRender&) = delete;
    FitStepForRender& operator=(const FitStepForRender&) = delete;

private:
    PageImage& image_;
};

void render_current_page(PageImage& image) {
    OwnedFont font(create_screen_font("Arial", 0, 9));
    Selection selected_font(image.dc, font.get());
    FitStepForRender fit_step(image);
    const DisplayUnits units = display_units();
    render_page(navigation().current_page, *image.surface, units.horizontal, units.vertical, 0, 0,
                0, nullptr, 0);
    ++page_image_counters().renders;
}

int scroll_position(HWND bar) { return bar ? GetScrollPos(bar, SB_CTL) : 0; }

// What a copy into the page area depends on now.
CopyInput copy_input(const PageImage& image) {
    RECT area = {};
    GetWindowRect(image.windows.page_area, &area);
    const PageGeometry& geometry = page_geometry();
    CopyInput in;
    in.zoom = zoom_factor().value;
    in.display_option = header_i32(the_document(), hdr::kDisplayOption);
    in.page_width = geometry.width;
    in.page_height = geometry.height;
    in.resolution_x = display_units().horizontal;
    in.resolution_y = display_units().vertical;
    in.area_width = area.right - area.left;
    in.area_height = area.bottom - area.top;
    in.horizontal_needed = scroll_bars_needed().horizontal;
    in.vertical_needed = scroll_bars_needed().vertical;
    in.horizontal_position = scroll_position(image.windows.horizontal_bar);
    in.vertical_position = scroll_position(image.windows.vertical_bar);
    return in;
}

PageOverlay& page_overlay() {
    static PageOverlay overlay = nullptr;
    return overlay;
}

PageOverlay& page_overlay_above() {
    static PageOverlay overlay = nullptr;
    return overlay;
}

// Copies the visible part of the image into a device context of the page
// area, and draws the overlay over the copy. Drawing failures are ignored,
// as everywhere in drawing.
void copy_into(const PageImage& image, HDC target) {
    const CopyInput in = copy_input(image);
    const CopyPlan plan = plan_copy(in);
    if (plan.stretch)
        StretchBlt(target, 0, 0, plan.dest_width, plan.dest_height, image.dc, plan.source_x,
                   plan.source_y, plan.source_width, plan.source_height, SRCCOPY);
    else
        BitBlt(target, 0, 0, plan.dest_width, plan.dest_height, image.dc, plan.source_x,
               plan.source_y, SRCCOPY);
    if (page_overlay()) page_overlay()(target, in, plan);
    if (page_overlay_above()) page_overlay_above()(target, in, plan);
    ++page_image_counters().copies;
}

}  // namespace

void set_page_overlay(PageOverlay overlay) { page_overlay() = overlay; }

CopyInput page_copy_input() { return copy_input(page_image()); }

void set_page_overlay_above(PageOverlay overlay) { page_overlay_above() = overlay; }

Surface* page_image_surface() { return page_image().surface.get(); }

void create_page_image(const PageImageWindows& windows) {
    release_page_image();
    PageImage& image = page_image();
    image.windows = windows;
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    if (!screen) return;
    image.dc = CreateCompatibleDC(screen);
    image.size = page_image_size(
        Resolution{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)});
    if (image.dc) image.bitmap = CreateCompatibleBitmap(screen, image.size.width, image.size.height);
    ReleaseDC(desktop, screen);
    if (!image.bitmap) {
        release_page_image();
        return;
    }
    image.base_size = image.size;
    image.kept_bitmap = SelectObject(image.dc, image.bitmap);
    image.surface = std::make_unique<GdiSurface>(image.dc, windows.viewer);
}

void release_page_image() {
    PageImage& image = page_image();
    // The surface's pooled fonts go first; none of them is selected into
    // the image any more once a render has ended.
    image.surface.reset();
    if (image.dc && image.kept_bitmap) SelectObject(image.dc, image.kept_bitmap);
    if (image.bitmap) DeleteObject(image.bitmap);
    if (image.dc) DeleteDC(image.dc);
    image.dc = nullptr;
    image.bitmap = nullptr;
    image.kept_bitmap = nullptr;
    image.size = ImageSize();
    image.base_size = ImageSize();
}

void redraw_page() {
    PageImage& image = page_image();
    if (!image.dc) return;
    // Never a render inside a render: the fit hook it installs and the
    // process-wide page state belong to the one running. A redraw asked for
    // meanwhile (by whatever the drawing calls lets through) runs once after it.
    if (image.drawing) {
        image.redraw_again = true;
        return;
    }
    image.drawing = true;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (int pass = 0; pass < 2; ++pass) {
        image.redraw_again = false;
        clear_image(image);
        render_current_page(image);
        copy_page_to_screen();
        if (!image.redraw_again) break;
    }
    image.drawing = false;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    // What the page told the user comes once it is on the screen; the
    // message box's loop may redraw, which is then no nested render.
    show_pending_notice();
}

void copy_page_to_screen() {
    const PageImage& image = page_image();
    if (!image.dc || !image.windows.page_area) return;
    HDC target = GetWindowDC(image.windows.page_area);
    if (!target) return;
    copy_into(image, target);
    ReleaseDC(image.windows.page_area, target);
}

void set_page_image_resolution(Resolution resolution) {
    PageImage& image = page_image();
    if (image.surface) image.surface->set_reported_resolution(resolution);
}

void paint_page_area() {
    const PageImage& image = page_image();
    if (!image.windows.page_area) return;
    PAINTSTRUCT paint;
    HDC target = BeginPaint(image.windows.page_area, &paint);
    if (target && image.dc) copy_into(image, target);
    EndPaint(image.windows.page_area, &paint);
}

}  // namespace vell
