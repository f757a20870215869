#include "viewer/comforts_win.h"

#include <cstdint>

#include "viewer/page_image.h"

#ifndef WM_MOUSEHWHEEL
#define WM_MOUSEHWHEEL 0x020E
#endif
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace vell {

namespace {

// Only when a count changed: a property costs a call to the window system.
void publish_counts(HWND window) {
    static HWND published_window = nullptr;
    static PageImageCounters published;
    const PageImageCounters& counters = page_image_counters();
    if (window == published_window && counters.renders == published.renders &&
        counters.copies == published.copies)
        return;
    published_window = window;
    published = counters;
    SetPropA(window, "vell.renders", reinterpret_cast<HANDLE>(uintptr_t(counters.renders)));
    SetPropA(window, "vell.copies", reinterpret_cast<HANDLE>(uintptr_t(counters.copies)));
}

}  // namespace

void after_viewer_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        set_up_comforts(window);
        start_keyboard_hook();
        break;
    case WM_CLOSE:
    case WM_DESTROY:
        stop_keyboard_hook();
        RemovePropA(window, "vell.renders");
        RemovePropA(window, "vell.copies");
        return;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: on_mouse_wheel(window, message, wparam, lparam); break;
    case WM_DPICHANGED: on_dpi_changed(window, wparam, lparam); break;
    case kKeyActionMessage: on_key_action(window, wparam); break;
    default: break;
    }
    publish_counts(window);
}

}  // namespace vell
