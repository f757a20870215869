// Operating the common print dialog that vell.exe shows: reading what it
// was opened with, choosing a page range and a number of copies, and
// printing or cancelling.
//
//   print-dialog [--timeout S] [--printer NAME] [--from N --to N] [--copies N]
//                --ok|--cancel
//
// Prints printer=, range=all|pages, from=, to=, copies=, selection=
// (whether the "Selection" choice is enabled) and help= (whether the Help
// button shows), as the dialog came up, before anything is changed.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver.h"
#include "report_win.h"

namespace vtdriver {

namespace {

// Control ids of the print dialog template of the common dialogs.
constexpr int kAllPages = 1056;    // rad1
constexpr int kSelection = 1057;   // rad2
constexpr int kPageRange = 1058;   // rad3
constexpr int kFromPage = 1152;    // edt1
constexpr int kToPage = 1153;      // edt2
constexpr int kCopies = 1154;      // edt3
constexpr int kPrinterBox = 1139;  // cmb4
constexpr int kHelpButton = 1038;  // pshHelp
constexpr UINT kSendTimeoutMs = 2000;
constexpr DWORD kPollMs = 50;

std::string control_text(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return "(none)";
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

void set_control_text(HWND dialog, int id, const std::string& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &ignored);
}

bool checked(HWND dialog, int id) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &state);
    return state == BST_CHECKED;
}

void set_check(HWND dialog, int id, bool on) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED,
                        0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

BOOL CALLBACK find_print_dialog(HWND window, LPARAM found) {
    wchar_t title[64] = {}, cls[64] = {};
    GetWindowTextW(window, title, 64);
    GetClassNameW(window, cls, 64);
    if (IsWindowVisible(window) && std::wstring(title) == L"Print" &&
        std::wstring(cls) == L"#32770" && GetDlgItem(window, kFromPage)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

HWND wait_for_print_dialog(double timeout_seconds) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout_seconds * 1000);
    for (;;) {
        HWND found = nullptr;
        EnumWindows(find_print_dialog, reinterpret_cast<LPARAM>(&found));
        if (found) return found;
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(kPollMs);
    }
}

bool wait_closed(HWND dialog, double timeout_seconds) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout_seconds * 1000);
    while (IsWindow(dialog) && IsWindowVisible(dialog)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
    return true;
}

// Picks a printer in the printer box as a user would, so that the dialog
// takes up that printer's settings.
bool choose_printer(HWND dialog, const std::string& name) {
    HWND box = GetDlgItem(dialog, kPrinterBox);
    DWORD_PTR index = DWORD_PTR(CB_ERR);
    SendMessageTimeoutA(box, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(name.c_str()),
                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &index);
    if (LONG_PTR(index) == CB_ERR) return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(kPrinterBox, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(box), SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    return true;
}

void report(HWND dialog) {
    std::printf("printer=%s\n", control_text(dialog, kPrinterBox).c_str());
    std::printf("range=%s\n", checked(dialog, kPageRange) ? "pages" : "all");
    std::printf("from=%s\n", control_text(dialog, kFromPage).c_str());
    std::printf("to=%s\n", control_text(dialog, kToPage).c_str());
    std::printf("copies=%s\n", control_text(dialog, kCopies).c_str());
    HWND selection = GetDlgItem(dialog, kSelection);
    std::printf("selection=%d\n", selection && IsWindowEnabled(selection) ? 1 : 0);
    HWND help = GetDlgItem(dialog, kHelpButton);
    std::printf("help=%d\n", help && IsWindowVisible(help) ? 1 : 0);
    std::fflush(stdout);
}

}  // namespace

int cmd_print_dialog(const Args& args) {
    Options options(args, {"--timeout", "--printer", "--from", "--to", "--copies"});
    const double timeout = options.seconds("--timeout", 20);
    HWND dialog = wait_for_print_dialog(timeout);
    if (!dialog) {
        std::fprintf(stderr, "vtdriver print-dialog: no print dialog within %.1f s\n", timeout);
        report_wait("print-dialog", "the print dialog", visible_windows());
        return 1;
    }
    report(dialog);

    const std::string printer = options.get("--printer", "");
    if (!printer.empty() && !choose_printer(dialog, printer)) {
        std::fprintf(stderr, "vtdriver print-dialog: no printer %s in the dialog\n", printer.c_str());
        return 1;
    }

    const std::string from = options.get("--from", ""), to = options.get("--to", "");
    if (!from.empty() || !to.empty()) {
        set_check(dialog, kAllPages, false);
        set_check(dialog, kPageRange, true);
        if (!from.empty()) set_control_text(dialog, kFromPage, from);
        if (!to.empty()) set_control_text(dialog, kToPage, to);
    }
    const std::string copies = options.get("--copies", "");
    if (!copies.empty()) set_control_text(dialog, kCopies, copies);

    if (options.has("--ok"))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    else if (options.has("--cancel"))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else
        return 0;
    if (!wait_closed(dialog, 10)) {
        std::fprintf(stderr, "vtdriver print-dialog: the dialog did not close\n");
        report_wait("print-dialog", "the print dialog to close", visible_windows());
        return 1;
    }
    return 0;
}

}  // namespace vtdriver
