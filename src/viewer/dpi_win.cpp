// The viewer at the display's scale: the Tab order over the toolbar's
// boxes, the page rendered at the monitor's resolution, and WM_DPICHANGED
// when the window moves to a monitor of another scale.
#include <windows.h>
#include <commctrl.h>

#include "render/fonts.h"
#include "render/gdi_surface_win.h"
#include "startup/startup_win.h"
#include "viewer/comforts_win.h"
#include "viewer/page_image.h"
#include "viewer/page_image_win.h"
#include "viewer/status_bar_win.h"
#include "viewer/viewer_window_win.h"

namespace vell {

namespace {

int screen_dpi() {
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen) ReleaseDC(desktop, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

void add_style(HWND window, int index, LONG_PTR bits) {
    if (window) SetWindowLongPtrA(window, index, GetWindowLongPtrA(window, index) | bits);
}

// The toolbar's images for a resolution, in place of the ones it has: the
// toolbar itself stays as it was made.
void replace_toolbar_images(int dpi) {
    ViewerResources& resources = viewer_resources();
    HWND toolbar = viewer_window().toolbar;
    if (!toolbar || !resources.toolbar_bitmap) return;
    const ToolbarImageSet set = toolbar_image_set(dpi);
    HBITMAP images =
        CreateMappedBitmap(startup_state().instance, set.bitmap_id, 0, nullptr, 0);
    if (!images) return;
    TBREPLACEBITMAP replace = {};
    replace.nIDOld = reinterpret_cast<UINT_PTR>(resources.toolbar_bitmap);
    replace.nIDNew = reinterpret_cast<UINT_PTR>(images);
    replace.nButtons = 10;
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(set.size, set.size));
    if (!SendMessageA(toolbar, TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace))) {
        DeleteObject(images);
        return;
    }
    DeleteObject(resources.toolbar_bitmap);
    resources.toolbar_bitmap = images;
}

// The UI font ("MS Sans Serif", size 9) made again for a resolution, given
// to the zoom label and the two boxes.
void replace_ui_font(int dpi) {
    ViewerResources& resources = viewer_resources();
    const LOGFONTA lf = to_logfonta(make_logfont("MS Sans Serif", 0, 9, 0, dpi));
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) return;
    const ViewerWindow& w = viewer_window();
    for (HWND control : {w.zoom_label, w.zoom_box, w.index_box})
        if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (resources.ui_font) DeleteObject(resources.ui_font);
    resources.ui_font = font;
}

}  // namespace

int window_dpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (get_dpi_for_window && window) {
        const UINT dpi = get_dpi_for_window(window);
        if (dpi > 0) return int(dpi);
    }
    return screen_dpi();
}

void set_up_comforts(HWND window) {
    const ViewerWindow& w = viewer_window();
    // Tab goes from the page area to the boxes on the toolbar and back.
    add_style(w.toolbar, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    add_style(w.page_area, GWL_STYLE, WS_TABSTOP);
    // The zoom box before the index box (moving them onto the toolbar put
    // the last one moved first).
    if (w.index_box)
        SetWindowPos(w.index_box, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (w.page_area) SetFocus(w.page_area);
    // A window that opens on a monitor whose scale is not the system's.
    const int dpi = window_dpi(window);
    if (dpi != screen_dpi()) set_page_image_resolution(Resolution{dpi, dpi});
}

void on_dpi_changed(HWND window, WPARAM wparam, LPARAM lparam) {
    const int dpi = HIWORD(wparam) ? int(HIWORD(wparam)) : kBaseDpi;
    replace_toolbar_images(dpi);
    replace_ui_font(dpi);
    set_page_image_resolution(Resolution{int(LOWORD(wparam)), dpi});
    // The suggested rectangle re-lays the window out; its WM_SIZE redraws
    // the page. When the size stays, the redraw is done here, once.
    const unsigned long renders = page_image_counters().renders;
    const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
    if (suggested)
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (page_image_counters().renders != renders) return;
    RECT client = {};
    GetClientRect(window, &client);
    const ViewerWindow& w = viewer_window();
    place_status_bar(w.status_bar, client.right, client.bottom);
    if (w.toolbar) SendMessageA(w.toolbar, TB_AUTOSIZE, 0, 0);
    redraw_page();
}

}  // namespace vell
