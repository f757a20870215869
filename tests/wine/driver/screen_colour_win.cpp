// Counting the pixels of one colour that a window of another process shows
// on the screen: how the page image tests see which part of a page the
// viewer's page area displays.
//
//   area-colour --title T --id ID --colour RRGGBB [--timeout S]
//     prints pixels=N, the pixels of that colour inside control ID of the
//     visible top-level window titled T, read from the screen.
//   cursor
//     prints cursor=H, the handle of the cursor the screen shows now (the
//     one its owner set; the same handle means the same cursor).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver.h"
#include "report_win.h"
#include "viewer_driver.h"
#include "window_search_win.h"

namespace vtdriver {

std::vector<uint32_t> screen_pixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0) return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const uint32_t* rows = static_cast<const uint32_t*>(bits);
        pixels.assign(rows, rows + size_t(width) * size_t(height));
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (uint32_t& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

namespace {

struct ControlSearch {
    std::string title;
    int id = 0;
    HWND found = nullptr;
};

BOOL CALLBACK find_control_in_titled(HWND window, LPARAM param) {
    ControlSearch* search = reinterpret_cast<ControlSearch*>(param);
    char text[512] = {};
    GetWindowTextA(window, text, int(sizeof text));
    if (!IsWindowVisible(window) || search->title != text) return TRUE;
    search->found = GetDlgItem(window, search->id);
    return search->found ? FALSE : TRUE;
}

// Control id of a visible top-level window titled title. Another window
// may share the title (a message box captioned with the document's title,
// in front of the viewer): the one that has the control counts.
HWND control_in_titled(const std::string& title, int id) {
    ControlSearch search{title, id, nullptr};
    EnumWindows(find_control_in_titled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int cmd_area_colour(const Args& args) {
    Options options(args, {"--title", "--id", "--colour", "--timeout"});
    const std::string title = options.get("--title", "");
    HWND window = wait_for_visible_title(title, options.seconds("--timeout", 20));
    HWND control = window ? control_in_titled(title, std::atoi(options.get("--id", "0").c_str())) : nullptr;
    if (!control) {
        std::fprintf(stderr, "vtdriver area-colour: no control %s in \"%s\"\n",
                     options.get("--id", "").c_str(), title.c_str());
        report_wait("area-colour", "control " + options.get("--id", "") + " of \"" + title + "\"",
                    visible_windows());
        return 1;
    }
    const uint32_t colour = uint32_t(std::strtoul(options.get("--colour", "0").c_str(), nullptr, 16));
    RECT rect = {};
    GetWindowRect(control, &rect);
    unsigned long count = 0;
    for (uint32_t pixel : screen_pixels(rect))
        if (pixel == colour) ++count;
    std::printf("pixels=%lu\n", count);
    std::fflush(stdout);
    return 0;
}

}  // namespace vtdriver

namespace vtdriver {

int cmd_cursor(const Args&) {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) {
        std::fprintf(stderr, "vtdriver cursor: no cursor information\n");
        return 1;
    }
    std::printf("cursor=%p\n", static_cast<void*>(info.hCursor));
    return 0;
}

}  // namespace vtdriver
