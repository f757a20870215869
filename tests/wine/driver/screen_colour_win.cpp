// Counting the pixels of one colour that a window of another process shows
// on the screen: how the page image tests see which part of a page the
// viewer's page area displays.
//
//   area-colour --title T --id ID --colour RRGGBB [--timeout S]
//     prints pixels=N, the pixels of that colour inside control ID of the
//     visible top-level window titled T, read from the screen.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver.h"
#include "report_win.h"
#include "window_search_win.h"

namespace vtdriver {

namespace {

// The screen's pixels inside rect as 0x00RRGGBB values, top row first.
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

}  // namespace

int cmd_area_colour(const Args& args) {
    Options options(args, {"--title", "--id", "--colour", "--timeout"});
    const std::string title = options.get("--title", "");
    HWND window = wait_for_visible_title(title, options.seconds("--timeout", 20));
    HWND control = window ? GetDlgItem(window, std::atoi(options.get("--id", "0").c_str())) : nullptr;
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
