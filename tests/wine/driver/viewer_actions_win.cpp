// `vtdriver viewer ACTION`: operating vell's viewer window the way a user
// would, one action per call, each bounded by a timeout.
#include "viewer_driver.h"

#include "report_win.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace vtdriver {

namespace {

using viewer::Parts;
using viewer::send;

constexpr DWORD kPollMs = 50;

int usage() {
    std::fprintf(stderr,
                 "usage: vtdriver viewer ACTION [--timeout S]\n"
                 "  state                     print the window's parts as KEY=VALUE lines\n"
                 "  get KEY...                print only those lines\n"
                 "  batch FILE                run the actions of FILE, one a line, words\n"
                 "                            separated by tabs, '#' lines ignored\n"
                 "  command ID [--post]       a menu or toolbar command\n"
                 "  type-zoom TEXT            type into the zoom box and leave it\n"
                 "  select-zoom K | index K   choose an entry of the zoom or index box\n"
                 "  click DX DY [--right]     click at DX, DY from the page area's corner\n"
                 "  click centre [--right]    click in the page area's middle\n"
                 "  scroll h|v REQUEST [POS]  a scroll bar request\n"
                 "  tooltip ID                the tooltip of a toolbar button, or (none)\n"
                 "  menu-keys P I             open the popup with mnemonic P, choose item I\n"
                 "  wait-status TEXT          wait until the status text reads TEXT\n"
                 "  close                     close the window and wait until it has gone\n");
    return 64;
}

// Sends an action's message to the viewer window and waits until the
// window has handled it, the drawing it causes included, up to the step's
// timeout; false with a report when it did not answer in time.
bool deliver(const Parts& p, const Options& o, UINT message, WPARAM wparam, LPARAM lparam) {
    const double timeout = o.seconds("--timeout", 20);
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutW(p.window, message, wparam, lparam, SMTO_NORMAL, UINT(timeout * 1000),
                            &ignored))
        return true;
    report_wait("viewer " + o.positional[0],
                "the viewer window to handle the step, " + std::to_string(int(timeout)) + " s",
                IsWindow(p.window) ? "no answer; windows: " + visible_windows()
                                   : std::string("the viewer window has gone"));
    return false;
}

int command(const Parts& p, const Options& o) {
    if (o.positional.size() != 2) return usage();
    const WPARAM id = WPARAM(std::atoi(o.positional[1].c_str()));
    // Commands that open a dialog or a message box return only when it
    // closes: those are posted.
    if (o.has("--post"))
        PostMessageW(p.window, WM_COMMAND, id, 0);
    else if (!deliver(p, o, WM_COMMAND, id, 0))
        return 1;
    return 0;
}

HWND combo_edit(HWND combo) {
    for (HWND child : viewer::descendants(combo))
        if (viewer::class_name(child) == "Edit") return child;
    return nullptr;
}

// Types the text into the zoom box's edit field as keystrokes (replacing
// what is there), then tells the window the box lost the focus.
int type_zoom(const Parts& p, const Options& o) {
    if (o.positional.size() != 2) return usage();
    HWND edit = combo_edit(p.zoom_box);
    if (!edit) return 1;
    send(edit, EM_SETSEL, 0, -1);
    send(edit, WM_CHAR, VK_BACK, 0);
    for (char c : o.positional[1]) send(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 0);
    return deliver(p, o, WM_COMMAND, MAKEWPARAM(107, CBN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(p.zoom_box)) ? 0 : 1;
}

int select_item(const Parts& p, const Options& o, bool zoom) {
    if (o.positional.size() != 2) return usage();
    HWND box = zoom ? p.zoom_box : p.index_box;
    const int id = zoom ? 107 : 113;
    send(box, CB_SETCURSEL, WPARAM(std::atoi(o.positional[1].c_str())), 0);
    return deliver(p, o, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box))
               ? 0 : 1;
}

// click DX DY, or click centre: the page area's middle wherever it is now.
int click(const Parts& p, const Options& o) {
    const bool centre = o.positional.size() == 2 && o.positional[1] == "centre";
    if (o.positional.size() != 3 && !centre) return usage();
    RECT area = {};
    GetWindowRect(p.page_area, &area);
    POINT at = {area.left + (centre ? (area.right - area.left) / 2 : std::atoi(o.positional[1].c_str())),
                area.top + (centre ? (area.bottom - area.top) / 2 : std::atoi(o.positional[2].c_str()))};
    ScreenToClient(p.window, &at);
    const LPARAM position = MAKELPARAM(at.x, at.y);
    if (o.has("--right")) return deliver(p, o, WM_RBUTTONDOWN, 0, position) ? 0 : 1;
    // A left click is a press and a release at one place: the press alone
    // may start a drag that selects text.
    return deliver(p, o, WM_LBUTTONDOWN, MK_LBUTTON, position) &&
                   deliver(p, o, WM_LBUTTONUP, 0, position)
               ? 0
               : 1;
}

int scroll(const Parts& p, const Options& o) {
    if (o.positional.size() < 3) return usage();
    const bool horizontal = o.positional[1] == "h";
    const int request = std::atoi(o.positional[2].c_str());
    const int position = o.positional.size() > 3 ? std::atoi(o.positional[3].c_str()) : 0;
    HWND bar = horizontal ? p.horizontal_bar : p.vertical_bar;
    return deliver(p, o, horizontal ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(request, position),
                   reinterpret_cast<LPARAM>(bar)) ? 0 : 1;
}

// Puts the real cursor in the page area's middle, away from every menu,
// button and tooltip. Not the screen's corner: that is the maximised
// window's system-menu icon, and a pointer motion the X server delivers
// late, while a later step has a menu open, moves the menu onto the system
// menu, where 'n' minimises the window.
void park_cursor(const Parts& p) {
    RECT area = {};
    GetWindowRect(p.page_area, &area);
    SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

// The tooltip of a toolbar button: the mouse goes to the button (the real
// cursor, which the tooltip checks, and a mouse move that the toolbar
// relays to its tooltip); then a visible tooltip window's text, or "(none)"
// when none shows within the timeout.
int tooltip(const Parts& p, const Options& o) {
    if (o.positional.size() != 2) return usage();
    const int id = std::atoi(o.positional[1].c_str());
    const LRESULT index = send(p.toolbar, TB_COMMANDTOINDEX, WPARAM(id), 0);
    if (index < 0) return 1;
    RECT button = {};
    DWORD owner = 0;
    GetWindowThreadProcessId(p.toolbar, &owner);
    // TB_GETITEMRECT needs memory in the toolbar's process.
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner);
    void* remote = process ? VirtualAllocEx(process, nullptr, sizeof button, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    if (remote) {
        send(p.toolbar, TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &button, sizeof button, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    if (process) CloseHandle(process);
    POINT centre = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    POINT screen = centre;
    ClientToScreen(p.toolbar, &screen);
    park_cursor(p);
    Sleep(100);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(p.toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));

    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(o.seconds("--timeout", 3) * 1000);
    DWORD viewer_process = 0;
    GetWindowThreadProcessId(p.window, &viewer_process);
    for (;;) {
        HWND tip = nullptr;
        while ((tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr))) {
            DWORD tip_process = 0;
            GetWindowThreadProcessId(tip, &tip_process);
            if (tip_process == viewer_process && IsWindowVisible(tip)) {
                std::printf("tooltip=%s\n", printable(viewer::text_of(tip)).c_str());
                park_cursor(p);
                return 0;
            }
        }
        if (GetTickCount64() >= deadline) break;
        Sleep(kPollMs);
    }
    std::printf("tooltip=(none)\n");
    park_cursor(p);
    return 0;
}

// The state of the viewer's menus: whether its thread tracks a menu, and
// how many popup menus of its process are shown.
struct MenuState {
    bool tracking = false;
    int popups = 0;
    std::string text() const {
        return std::string(tracking ? "menu mode" : "no menu mode") + ", " +
               std::to_string(popups) + " popup menu(s) shown";
    }
};

BOOL CALLBACK collect_popup(HWND window, LPARAM list) {
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (IsWindowVisible(window) && std::wstring(cls) == L"#32768")
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

MenuState menu_state(const Parts& p) {
    MenuState state;
    DWORD viewer_process = 0;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(p.window, &viewer_process), &info))
        state.tracking = (info.flags & GUI_INMENUMODE) || info.hwndMenuOwner;
    std::vector<HWND> popups;
    EnumWindows(collect_popup, reinterpret_cast<LPARAM>(&popups));
    for (HWND popup : popups) {
        DWORD process = 0;
        GetWindowThreadProcessId(popup, &process);
        if (process == viewer_process) ++state.popups;
    }
    return state;
}

// Waits until the menus are open (a popup shows) or closed (no popup, no
// menu mode); false with a report of what was seen at the timeout.
bool wait_menu(const Parts& p, bool open, const std::string& what, double timeout) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout * 1000);
    for (;;) {
        const MenuState state = menu_state(p);
        if (open ? state.popups > 0 : state.popups == 0 && !state.tracking) return true;
        if (!IsWindow(p.window)) {
            report_wait("viewer menu-keys", what, "the viewer window has gone");
            return false;
        }
        if (GetTickCount64() >= deadline) {
            report_wait("viewer menu-keys", what, state.text() + "; windows: " + visible_windows());
            return false;
        }
        Sleep(kPollMs);
    }
}

// The menu by keyboard, as a user presses Alt+P and then I: the popup whose
// mnemonic is P opens and the item whose mnemonic is I is chosen. An item
// that is not there leaves the menu open: with --escape, Escape twice
// closes it. Menu texts cannot be read from another process under Wine, so
// their mnemonics are how a test sees them. The cursor is parked first, so
// no pointer motion moves the open menu elsewhere.
//
// The item's key goes only once the popup shows: the window opens the popup
// with a key message of its own that it posts while handling Alt+P, and a
// key posted before that message would reach the menu bar instead.
int menu_keys(const Parts& p, const Options& o) {
    if (o.positional.size() != 3 || o.positional[1].size() != 1 || o.positional[2].size() != 1)
        return usage();
    const double timeout = o.seconds("--timeout", 20);
    const std::string popup = o.positional[1], item = o.positional[2];
    park_cursor(p);
    PostMessageW(p.window, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(popup[0]));
    if (!wait_menu(p, true, "the popup menu of '" + popup + "' to open", timeout)) return 1;
    PostMessageW(p.window, WM_CHAR, WPARAM(item[0]), 0);
    if (o.has("--escape")) {
        for (int i = 0; i < 2; ++i) PostMessageW(p.window, WM_KEYDOWN, VK_ESCAPE, 0);
        return wait_menu(p, false, "the menus to close on Escape after '" + item + "'", timeout) ? 0 : 1;
    }
    return wait_menu(p, false, "the menus to close on choosing '" + item + "'", timeout) ? 0 : 1;
}

int wait_status(const Parts& p, const Options& o) {
    if (o.positional.size() != 2) return usage();
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(o.seconds("--timeout", 20) * 1000);
    for (;;) {
        const std::string status = viewer::text_of(p.status_bar);
        if (status == o.positional[1]) return 0;
        if (GetTickCount64() >= deadline) {
            std::printf("status=%s\n", printable(status).c_str());
            report_wait("viewer wait-status", "status [" + printable(o.positional[1]) + "]",
                        "status [" + printable(status) + "]");
            return 1;
        }
        Sleep(kPollMs);
    }
}

int close(const Parts& p, const Options& o) {
    PostMessageW(p.window, WM_CLOSE, 0, 0);
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(o.seconds("--timeout", 10) * 1000);
    while (IsWindow(p.window) && IsWindowVisible(p.window)) {
        if (GetTickCount64() >= deadline) {
            report_wait("viewer close", "the viewer window to go", visible_windows());
            return 1;
        }
        Sleep(kPollMs);
    }
    return 0;
}

// The lines of the keys asked for, in the order asked.
int get(const Parts& p, const Options& o) {
    const std::vector<std::string> lines = viewer::state_lines(p);
    for (size_t i = 1; i < o.positional.size(); ++i)
        for (const std::string& line : lines)
            if (line.compare(0, line.find('='), o.positional[i]) == 0)
                std::printf("%s\n", line.c_str());
    return 0;
}

int run_action(const Parts& p, const Options& o) {
    const std::string& action = o.positional[0];
    int status = 64;
    if (action == "state") {
        for (const std::string& line : viewer::state_lines(p)) std::printf("%s\n", line.c_str());
        status = 0;
    } else if (action == "get") {
        status = get(p, o);
    } else if (action == "command") {
        status = command(p, o);
    } else if (action == "type-zoom") {
        status = type_zoom(p, o);
    } else if (action == "select-zoom") {
        status = select_item(p, o, true);
    } else if (action == "index") {
        status = select_item(p, o, false);
    } else if (action == "click") {
        status = click(p, o);
    } else if (action == "scroll") {
        status = scroll(p, o);
    } else if (action == "tooltip") {
        status = tooltip(p, o);
    } else if (action == "menu-keys") {
        status = menu_keys(p, o);
    } else if (action == "wait-status") {
        status = wait_status(p, o);
    } else if (action == "close") {
        status = close(p, o);
    } else {
        return usage();
    }
    std::fflush(stdout);
    return status;
}

Args split_tabs(const std::string& line) {
    Args words;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        words.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return words;
        start = tab + 1;
    }
}

// Many actions in one run: starting a Windows program under Wine costs
// far more than any action.
int batch(const Parts& p, const Options& o) {
    if (o.positional.size() != 2) return usage();
    FILE* file = std::fopen(o.positional[1].c_str(), "rb");
    if (!file) {
        std::fprintf(stderr, "vtdriver viewer batch: cannot read %s\n", o.positional[1].c_str());
        return 1;
    }
    char buffer[1024];
    int number = 0;
    int status = 0;
    while (status == 0 && std::fgets(buffer, sizeof buffer, file)) {
        ++number;
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        status = run_action(p, Options(split_tabs(line), {"--timeout"}));
        if (status != 0) std::printf("failed: line %d: %s\n", number, printable(line).c_str());
    }
    std::fclose(file);
    return status;
}

}  // namespace

int cmd_viewer(const Args& args) {
    Options o(args, {"--timeout"});
    if (o.positional.empty()) return usage();
    Parts p;
    if (!viewer::find_viewer(o.seconds("--timeout", 20), &p)) {
        std::fprintf(stderr, "vtdriver viewer: no viewer window\n");
        report_wait("viewer " + o.positional[0], "a viewer window", visible_windows());
        return 1;
    }
    if (o.positional[0] == "batch") return batch(p, o);
    return run_action(p, o);
}

}  // namespace vtdriver
