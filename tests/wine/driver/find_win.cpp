// The find cases' helpers (tests/wine/cases_find.sh):
//
//   find make KIND PATH   writes one of the documents below
//   find mark --title T   prints where the page area of the viewer window
//                         titled T shows the yellow find mark: box=L,T,R,B
//                         (pixels of the page area, "none" without a mark),
//                         yellow=N (its pixels) and dark=N (dark pixels, the
//                         text, inside the box)
//   find span KIND        prints where the text searched for in KIND's
//                         document stands at 100 %: left=L and right=R,
//                         image pixels measured with GDI as the viewer does
//   find wait-status-prefix TEXT [--timeout S]
//                         waits until the viewer's status text starts with
//                         TEXT; prints status=... either way
//
// Kinds:
//   find-pages  "Find Pages": five pages of 12-point texts; "Invoice 4711"
//               stands on page 2 low on the page (x 1 in, y 9 in) and on
//               page 4 (x 5 in, y 2 in); every page says "Page N"
//   find-large  "Find Large": 32767 typical pages (bench/typical_page.h),
//               the last one with the text "Closing balance carried forward"
//   find-shrink "Find Shrink": display option 0x800 (drawn at 100 % and
//               shrunk below it), one 12-point line in which "theta" stands
//               after eight other words
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "../../../bench/typical_page.h"
#include "document/format.h"
#include "driver.h"
#include "vel_writer.h"
#include "viewer_driver.h"
#include "window_search_win.h"

namespace vtdriver {

namespace {

constexpr uint32_t kYellow = 0xFFFF00;  // as screen_pixels gives it
constexpr int kPageArea = 108;

vell::Bytes find_page(int n) {
    vell::PageBuilder page;
    page.font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "Page " + std::to_string(n));
    for (int k = 0; k < 10; ++k)
        page.aligned_text(1, 2.5f + 0.4f * float(k), 0, "Line " + std::to_string(k) + " of the text");
    if (n == 2) page.aligned_text(1, 9, 0, "Invoice 4711");
    if (n == 4) page.aligned_text(5, 2, 0, "Invoice 4711");
    page.end_of_page();
    return page.bytes();
}

// The find-shrink document's line, and where it starts (inches).
constexpr char kShrinkLine[] = "alpha beta gamma delta epsilon zeta eta theta iota kappa";
constexpr char kShrinkWord[] = "theta";
constexpr float kShrinkX = 1.0f;

bool write_kind(const std::string& kind, const std::string& path) {
    vell::DocumentPlan plan;
    if (kind == "find-pages") {
        plan.title = "Find Pages";
        for (int n = 1; n <= 5; ++n) plan.pages.push_back(find_page(n));
    } else if (kind == "find-large") {
        plan.title = "Find Large";
        for (int n = 1; n <= vell::kMaxPages; ++n)
            plan.pages.push_back(vell::typical_page(n, n == vell::kMaxPages));
    } else if (kind == "find-shrink") {
        plan.title = "Find Shrink";
        plan.display_option = vell::kDisplayShrink;
        plan.initial_zoom = vell::kZoom100;
        vell::PageBuilder page;
        page.font(0, 12, 0, "Arial").aligned_text(kShrinkX, 2, 0, kShrinkLine).end_of_page();
        plan.pages.push_back(page.bytes());
    } else {
        return false;
    }
    return vell::write_file(path, vell::write_document(plan));
}

bool dark(uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
}

int mark(const Options& options) {
    const std::string title = options.get("--title", "");
    HWND window = wait_for_visible_title(title, options.seconds("--timeout", 20));
    HWND area = window ? GetDlgItem(window, kPageArea) : nullptr;
    if (!area) {
        std::fprintf(stderr, "vtdriver find mark: no page area in \"%s\"\n", title.c_str());
        return 1;
    }
    RECT rect = {};
    GetWindowRect(area, &rect);
    const int width = rect.right - rect.left;
    const std::vector<uint32_t> pixels = screen_pixels(rect);
    int left = width, top = 1 << 30, right = -1, bottom = -1;
    unsigned long yellow = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] != kYellow) continue;
        const int x = int(i % size_t(width)), y = int(i / size_t(width));
        left = std::min(left, x);
        right = std::max(right, x + 1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
        ++yellow;
    }
    if (yellow == 0) {
        std::printf("box=none\nyellow=0\ndark=0\n");
        return 0;
    }
    unsigned long inside = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (dark(pixels[size_t(y) * size_t(width) + size_t(x)])) ++inside;
    std::printf("box=%d,%d,%d,%d\nyellow=%lu\ndark=%lu\n", left, top, right, bottom, yellow, inside);
    return 0;
}

// 12-point Arial at 96 pixels per inch, as the page image draws it at 100 %.
int span(const Options& options) {
    if (options.positional.size() != 2 || options.positional[1] != "find-shrink") return 64;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, PROOF_QUALITY, 0,
                             "Arial");
    HGDIOBJ previous = SelectObject(dc, font);
    const std::string line = kShrinkLine;
    const size_t at = line.find(kShrinkWord);
    SIZE before = {}, through = {};
    GetTextExtentPoint32A(dc, line.data(), int(at), &before);
    GetTextExtentPoint32A(dc, line.data(), int(at + std::strlen(kShrinkWord)), &through);
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    const int x = int(kShrinkX * 96);
    std::printf("left=%d\nright=%d\n", x + int(before.cx), x + int(through.cx));
    return 0;
}

int wait_status_prefix(const Options& options) {
    if (options.positional.size() != 2) return 64;
    viewer::Parts parts;
    if (!viewer::find_viewer(options.seconds("--timeout", 20), &parts)) return 1;
    const std::string& prefix = options.positional[1];
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(options.seconds("--timeout", 20) * 1000);
    for (;;) {
        const std::string status = viewer::text_of(parts.status_bar);
        const bool matches = status.compare(0, prefix.size(), prefix) == 0;
        if (matches || GetTickCount64() >= deadline) {
            std::printf("status=%s\n", printable(status).c_str());
            return matches ? 0 : 1;
        }
        Sleep(20);
    }
}

}  // namespace

int cmd_find(const Args& args) {
    const Options options(args, {"--title", "--timeout"});
    const std::string action = options.positional.empty() ? "" : options.positional[0];
    if (action == "make" && options.positional.size() == 3) {
        if (write_kind(options.positional[1], options.positional[2])) return 0;
        std::fprintf(stderr, "vtdriver find make: cannot write %s\n", options.positional[1].c_str());
        return 1;
    }
    if (action == "mark") return mark(options);
    if (action == "span") return span(options);
    if (action == "wait-status-prefix") return wait_status_prefix(options);
    std::fprintf(stderr, "usage: vtdriver find make KIND PATH | mark --title T | "
                         "span KIND | wait-status-prefix TEXT [--timeout S]\n");
    return 64;
}

}  // namespace vtdriver
