// The driver's reports of failed waits (report_win.h).
#include "report_win.h"

#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace vtdriver {

namespace {

BOOL CALLBACK collect_visible(HWND window, LPARAM list) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

void report_wait(const std::string& step, const std::string& waited_for, const std::string& saw) {
    std::fprintf(stderr, "vtdriver %s: waited for: %s\n", step.c_str(), waited_for.c_str());
    std::fprintf(stderr, "vtdriver %s: saw: %s\n", step.c_str(), saw.c_str());
    std::fflush(stderr);
}

std::string process_name(DWORD pid) {
    std::string name = "pid " + std::to_string(pid);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return name;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == pid) name = entry.szExeFile;
    CloseHandle(snapshot);
    return name;
}

std::string visible_windows() {
    std::vector<HWND> windows;
    EnumWindows(collect_visible, reinterpret_cast<LPARAM>(&windows));
    std::string out;
    for (HWND window : windows) {
        // Titles are read with GetWindowText, which never waits for a hung
        // window's thread.
        char cls[128] = {}, title[256] = {};
        GetClassNameA(window, cls, sizeof cls);
        GetWindowTextA(window, title, sizeof title);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (!out.empty()) out += "; ";
        out += std::string(cls) + " \"" + title + "\" (" + process_name(pid) + ")";
    }
    return out.empty() ? "no visible window" : out;
}

std::string describe_exit_code(DWORD code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", (unsigned long)code);
    if (code < 0xC0000000u) return "exit code " + std::to_string(code);
    const char* meaning = "";
    switch (code) {
        case 0xC0000005u: meaning = " (access violation)"; break;
        case 0xC00000FDu: meaning = " (stack overflow)"; break;
        case 0xC0000094u: meaning = " (integer division by zero)"; break;
        case 0xC0000409u: meaning = " (stack buffer overrun or fail-fast)"; break;
        case 0xC000001Du: meaning = " (illegal instruction)"; break;
        case 0xC0000374u: meaning = " (heap corruption)"; break;
        case 0xC0000025u: meaning = " (non-continuable exception)"; break;
        default: break;
    }
    return "exception " + std::string(hex) + meaning;
}

}  // namespace vtdriver
