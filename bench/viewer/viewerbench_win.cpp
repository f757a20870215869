// The viewer benchmark: the viewer window in this process, timed from a page
// command to the copied image, for a typical and a dense page; and the page
// image's counters after scrolling, wheel notches within a page and
// repainting, which must only copy; and on the dense page, a selection
// drag's highlight per mouse move and a copy of the whole page.
//
//   viewerbench [--repeat N]
//
// Prints one line per measurement; exits with 1 when scrolling, the wheel,
// repainting or a selection drag rendered the page, or the window could not
// be made.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../dense_page.h"
#include "document/document.h"
#include "render/units.h"
#include "startup/startup_win.h"
#include "ui_text/labels.h"
#include "vel_writer.h"
#include "viewer/page_image.h"
#include "viewer/viewer.h"
#include "viewer/viewer_window_win.h"

extern "C" INT_PTR CALLBACK MAINDLGPROC(HWND, UINT, WPARAM, LPARAM);

namespace {

constexpr WPARAM kNextPage = 754;
constexpr WPARAM kPreviousPage = 753;

double milliseconds_now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

// A page as a report has it: a heading, thirty rows of four columns, lines.
vell::Bytes typical_page() {
    vell::PageBuilder page(1, 0, 7);
    page.font(1, 16, 0x794E1F, "Arial").aligned_text(0.75f, 0.6f, 0, "Monthly statement");
    page.font(0, 10, 0, "Arial");
    for (int row = 0; row < 30; ++row) {
        const float y = 1.4f + row * 0.28f;
        page.aligned_text(0.8f, y, 0, "Entry " + std::to_string(row + 1));
        page.aligned_text(2.5f, y, 0, "Reference " + std::to_string(4000 + row * 17));
        page.aligned_text(6.0f, y, 3, std::to_string(row * 37) + ".50");
        page.aligned_text(7.7f, y, 2, std::to_string(row * 3) + " pcs");
        page.line(0.75f, y + 0.24f, 7.75f, y + 0.24f, 0.5f, 0xC0C0C0);
    }
    return page.end_of_page().bytes();
}

std::string write_document(const char* name, const vell::Bytes& page) {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + name;
    vell::DocumentPlan plan;
    plan.title = "Viewer Bench";
    plan.initial_zoom = vell::kZoom100;
    plan.pages = {page, page};
    vell::write_file(path, vell::write_document(plan));
    return path;
}

// What start-up does before it shows the viewer window.
bool open_like_startup(const std::string& path) {
    vell::Document& doc = vell::the_document();
    if (!vell::open_document(doc, path, 0) || vell::read_header(doc) != vell::HeaderCheck::kDocument)
        return false;
    doc.validated = true;
    vell::read_settings(doc);
    vell::set_window_label(doc, 0, std::string());
    vell::initialise_display_units();
    vell::read_page_index(doc);
    vell::read_document_index(doc);
    vell::load_page(doc, 1);
    vell::create_viewer_resources();
    return true;
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The time of one page command: the handler renders the page and copies it
// into the page area before SendMessage returns; GdiFlush makes sure the
// copy has reached the display.
double page_command_ms(HWND window, WPARAM command) {
    const double start = milliseconds_now();
    SendMessageA(window, WM_COMMAND, command, 0);
    GdiFlush();
    return milliseconds_now() - start;
}

void report_times(const char* name, HWND window, int repeat) {
    std::vector<double> times;
    for (int i = 0; i < repeat; ++i) {
        times.push_back(page_command_ms(window, i % 2 == 0 ? kNextPage : kPreviousPage));
        pump();
    }
    std::sort(times.begin(), times.end());
    std::printf("%s page: page command to copied image: median %.2f ms, min %.2f ms, max %.2f ms (%d commands)\n",
                name, times[times.size() / 2], times.front(), times.back(), repeat);
}

// Scrolling and repainting: copies only, never a render.
bool check_counters(HWND window) {
    vell::PageImageCounters& counters = vell::page_image_counters();
    vell::PageImageCounters before = counters;
    const double start = milliseconds_now();
    for (int i = 0; i < 30; ++i) SendMessageA(window, WM_VSCROLL, MAKEWPARAM(i % 2 ? SB_LINEUP : SB_PAGEDOWN, 0), 0);
    GdiFlush();
    const double scroll_ms = (milliseconds_now() - start) / 30;
    std::printf("scrolling: 30 requests, renders +%lu, copies +%lu, %.2f ms each\n",
                counters.renders - before.renders, counters.copies - before.copies, scroll_ms);
    const bool scroll_ok = counters.renders == before.renders && counters.copies >= before.copies + 30;

    // Wheel notches within the page: from the middle, one down and one up
    // in turn, so no notch reaches an edge and flips the page.
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
    before = counters;
    std::vector<double> notches;
    for (int i = 0; i < 30; ++i) {
        const double notch_start = milliseconds_now();
        SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(i % 2 ? WHEEL_DELTA : -WHEEL_DELTA)), 0);
        GdiFlush();
        notches.push_back(milliseconds_now() - notch_start);
    }
    std::sort(notches.begin(), notches.end());
    std::printf("wheel: 30 notches, renders +%lu, copies +%lu, median %.3f ms per notch\n",
                counters.renders - before.renders, counters.copies - before.copies,
                notches[notches.size() / 2]);
    const bool wheel_ok = counters.renders == before.renders && counters.copies >= before.copies + 30;

    before = counters;
    for (int i = 0; i < 10; ++i)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump();
    std::printf("repainting: 10 repaints, renders +%lu, copies +%lu\n",
                counters.renders - before.renders, counters.copies - before.copies);
    const bool paint_ok = counters.renders == before.renders && counters.copies >= before.copies + 10;
    return scroll_ok && wheel_ok && paint_ok;
}

// Selecting on the page: a drag whose highlight follows each mouse move
// (the selection worked out and the area copied with the highlight over
// it), then a copy of the whole page to the clipboard. False when the drag
// rendered the page: the highlight goes over the copies only.
bool report_selection(HWND window, int repeat) {
    RECT area = {};
    GetWindowRect(vell::viewer_window().page_area, &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    const int left = area.left + 10, top = area.top + 10;
    const int width = std::max(20, int(area.right - area.left) - 20);
    const int height = std::max(20, int(area.bottom - area.top) - 20);
    const unsigned long renders = vell::page_image_counters().renders;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left, top));
    // The hand's first small move, within the drag distance, reads the
    // page's texts.
    double start = milliseconds_now();
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left + 1, top + 1));
    const double first = milliseconds_now() - start;
    std::vector<double> moves;
    for (int i = 1; i <= 4 * repeat; ++i) {
        // Out and back across the page, so the selection grows and shrinks.
        const int step = i % (2 * repeat) < repeat ? i % repeat : repeat - i % repeat;
        const int x = left + 20 + width * step / repeat * 9 / 10;
        const int y = top + 20 + height * step / repeat * 9 / 10;
        start = milliseconds_now();
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        GdiFlush();
        moves.push_back(milliseconds_now() - start);
    }
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(left + width, top + height));
    std::sort(moves.begin(), moves.end());
    std::printf("selection drag: first move within the drag distance (reads the page's texts) "
                "%.2f ms; each move of the drag to the highlight shown: median %.2f ms, max %.2f ms (%d moves; target 16 ms), renders +%lu\n",
                first, moves[moves.size() / 2], moves.back(), int(moves.size()),
                vell::page_image_counters().renders - renders);
    const bool drag_ok = vell::page_image_counters().renders == renders;

    SendMessageA(window, WM_COMMAND, 714, 0);  // Select All
    std::vector<double> copies;
    for (int i = 0; i < repeat; ++i) {
        const double start = milliseconds_now();
        SendMessageA(window, WM_COMMAND, 713, 0);  // Copy
        copies.push_back(milliseconds_now() - start);
    }
    std::sort(copies.begin(), copies.end());
    std::printf("copy of the whole page: median %.2f ms, max %.2f ms (%d copies; target 50 ms)\n",
                copies[copies.size() / 2], copies.back(), repeat);
    return drag_ok;
}

bool run(const char* name, const vell::Bytes& page, int repeat, bool* counters_ok,
         bool* selection_ok) {
    const std::string path = write_document(name, page);
    if (!open_like_startup(path)) {
        std::fprintf(stderr, "viewerbench: cannot open %s\n", path.c_str());
        return false;
    }
    HWND window = CreateDialogParamA(vell::startup_state().instance, "DLG_MAIN", nullptr, MAINDLGPROC, 0);
    if (!window) {
        std::fprintf(stderr, "viewerbench: cannot make the viewer window\n");
        return false;
    }
    pump();
    // Warm up: the first renders load fonts.
    page_command_ms(window, kNextPage);
    page_command_ms(window, kPreviousPage);
    report_times(name, window, repeat);
    if (counters_ok) *counters_ok = check_counters(window);
    if (selection_ok) *selection_ok = report_selection(window, repeat);
    SendMessageA(window, WM_CLOSE, 0, 0);
    DestroyWindow(window);
    pump();
    vell::destroy_viewer_resources();
    vell::close_document(vell::the_document());
    DeleteFileA(path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // plain line feeds for scripts
    int repeat = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--repeat") repeat = std::max(1, std::atoi(argv[i + 1]));
    vell::startup_state().instance = GetModuleHandleA(nullptr);
    bool counters_ok = false, selection_ok = false;
    if (!run("typical", typical_page(), repeat, &counters_ok, nullptr)) return 1;
    if (!run("dense", vell::dense_page(), repeat, nullptr, &selection_ok)) return 1;
    return counters_ok && selection_ok ? 0 : 1;
}
