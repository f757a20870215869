// The search of the viewer window: one page at a time on the GUI thread,
// with progress in the status bar on long documents and Esc to stop it;
// a match becomes the current page, scrolled into view and marked.
#include <algorithm>
#include <memory>

#include "document/document.h"
#include "render/gdi_surface_win.h"
#include "ui_text/window_text_win.h"
#include "viewer/find_search.h"
#include "viewer/find_win.h"
#include "viewer/navigation.h"
#include "viewer/page_image_win.h"
#include "viewer/selection_win.h"
#include "viewer/status_bar_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_refresh_win.h"

namespace vell {

namespace {

// How often the search looks at the keyboard and the progress.
constexpr int kPagesBetweenLooks = 16;
constexpr DWORD kProgressEveryMs = 100;

bool searching = false;

// A memory device context like the page image's, for measuring texts as
// the page image draws them; deleted with the search.
class MeasuringContext {
public:
    MeasuringContext() {
        HWND desktop = GetDesktopWindow();
        HDC screen = GetDC(desktop);
        dc_ = screen ? CreateCompatibleDC(screen) : nullptr;
        if (screen) ReleaseDC(desktop, screen);
    }
    ~MeasuringContext() {
        surface_.reset();
        if (dc_) DeleteDC(dc_);
    }
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;
    GdiSurface* surface() {
        if (dc_ && !surface_) surface_ = std::make_unique<GdiSurface>(dc_, viewer_window().window);
        return surface_.get();
    }

private:
    HDC dc_ = nullptr;
    std::unique_ptr<GdiSurface> surface_;
};

// Takes the keyboard's messages out of the queue; true when Esc was among
// them. Keys pressed during a search are not kept for afterwards.
bool escape_pressed() {
    MSG msg;
    bool escape = false;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) escape = true;
    return escape;
}

void show_status(const std::string& text) {
    HWND status = viewer_window().status_bar;
    set_window_text(status, text);
    if (status) UpdateWindow(status);
}

struct Outcome {
    bool found = false;
    bool stopped = false;
    bool wrapped = false;
    TextMatch match;
    std::vector<PageRect> rects;
};

Outcome search_pages(const DocumentSearch& search, Surface& measure, int32_t page_count) {
    PageSearchRun run(the_document(), measure, search);
    const bool show = page_count > kFindProgressPages;
    HWND progress = viewer_window().progress_bar;
    DWORD shown_at = GetTickCount();
    Outcome outcome;
    for (int steps = 1; run.step(); ++steps) {
        if (steps % kPagesBetweenLooks != 0) continue;
        if (escape_pressed()) {
            outcome.stopped = true;
            break;
        }
        if (show && GetTickCount() - shown_at >= kProgressEveryMs) {
            shown_at = GetTickCount();
            show_status(find_progress_text(run.search().page(), page_count));
            show_progress(progress, int(int64_t(run.search().pages_done()) * 100 /
                                        std::max(1, run.search().pages_total())));
        }
    }
    if (show) hide_progress(progress);
    outcome.found = run.search().found();
    outcome.wrapped = run.search().wrapped();
    outcome.match = run.search().match();
    outcome.rects = run.match_rects();
    return outcome;
}

// Shows the match: its page, scrolled into view, with the mark.
void show_match(const Outcome& outcome) {
    FindState& find = find_state();
    find.has_match = true;
    find.match = outcome.match;
    find.mark = outcome.rects;
    Navigation& nav = navigation();
    if (nav.current_page != outcome.match.page) {
        nav.current_page = outcome.match.page;
        refresh_window(kRefreshAll);
    } else {
        refresh_window(kRefreshStatus);
    }
    scroll_to_match();
    copy_page_to_screen();
    keep_find_dialog_off_match();
    if (outcome.wrapped) show_status_notice(kFindWrapped);
}

}  // namespace

void run_find(bool forward) {
    FindState& find = find_state();
    if (searching || find.text.empty()) return;
    Navigation& nav = navigation();
    // While the document is building, the pages received so far.
    const int32_t page_count = nav.page_count;
    const bool had_mark = find.has_match && find.match.page == nav.current_page;
    const TextMatch current = find.match;
    const bool after_match = had_mark && !find.restart;
    // A new search takes the old mark and the selection away.
    clear_selection();
    find.has_match = false;
    find.restart = false;
    if (had_mark) copy_page_to_screen();

    MeasuringContext context;
    GdiSurface* measure = context.surface();
    if (!measure || page_count < 1) {
        show_status_notice(kFindNotFound);
        return;
    }
    searching = true;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const DocumentSearch search(find.text, find.options, forward, page_count, nav.current_page,
                                after_match ? &current : nullptr);
    const Outcome outcome = search_pages(search, *measure, page_count);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    searching = false;
    if (outcome.stopped)
        show_status_notice(kFindStopped);
    else if (outcome.found)
        show_match(outcome);
    else
        show_status_notice(kFindNotFound);
}

bool find_running() { return searching; }

}  // namespace vell
