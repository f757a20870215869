// The page image on Windows: a bitmap compatible with the screen, selected
// into a memory device context, that holds the current page as rendered.
// Painting and scrolling only copy from it; only redraw_page renders.
// Windows only: included by _win.cpp files.
#pragma once

#include <windows.h>

#include "viewer/page_image.h"
#include "render/surface.h"

namespace vell {

// The viewer window's parts the page image works with.
struct PageImageWindows {
    HWND viewer = nullptr;          // owns the page area; pictures are made compatible with it
    HWND page_area = nullptr;       // control 108
    HWND horizontal_bar = nullptr;  // control 110
    HWND vertical_bar = nullptr;    // control 109
};

// Window set-up: makes the memory device context and the bitmap (sized by
// page_image_size for the screen's resolution). A failure is not reported;
// redraw and copy then do nothing.
void create_page_image(const PageImageWindows& windows);

// WM_CLOSE: selects the original bitmap back, deletes the page bitmap and
// the memory device context. Harmless when there is no image.
void release_page_image();

// Renders the current page (navigation().current_page) at the zoom the
// window's fit step chooses into the image, white with a black edge line,
// with the "Arial" 9 point screen font selected, and copies it to the page
// area. Shows the wait cursor meanwhile, the arrow afterwards. The image
// grows when the page at the chosen zoom would not fit in it.
void redraw_page();

// Copies the visible part of the image into the page area (its window
// device context) at the current scroll positions. After every scroll.
void copy_page_to_screen();

// Renders the page for a screen of this resolution from now on (the
// monitor the window is on, when its scale is not the system's).
void set_page_image_resolution(Resolution resolution);

// WM_PAINT of the viewer window: BeginPaint on the page area, copy, EndPaint,
// so the area's own grey frame does not paint over the copy.
void paint_page_area();

// Drawn over every copy into the page area, after the image and never into
// it (the find mark), so scrolling keeps it without rendering.
using PageOverlay = void (*)(HDC target, const CopyInput& input, const CopyPlan& plan);
void set_page_overlay(PageOverlay overlay);

// What a copy into the page area depends on now: zoom, geometry, the
// area's size and the bars.
CopyInput page_copy_input();

// The surface the page image draws on, to measure texts exactly as they
// are drawn (outside a redraw); null without an image.
Surface* page_image_surface();

// Drawn over the copies after the page overlay: the selection's highlight.
void set_page_overlay_above(PageOverlay overlay);

}  // namespace vell
