// Opening another document from the viewer: File > Open (Ctrl+O) asks with
// the open dialog of start-up, a file dropped on the window needs no
// asking. A process shows one document, so each opens in a viewer process
// of its own, started like an opened .vel file (the program and the path,
// unquoted), and the current viewer stays as it is.
#include <string>
#include <vector>

#include "startup/module_path.h"
#include "startup/startup.h"
#include "startup/startup_win.h"
#include "ui_text/message_box.h"
#include "viewer/selection_win.h"

namespace vell {

namespace {

void start_viewer_process(const std::string& path) {
    const std::string program = module_path();
    std::string command = "\"" + program + "\" " + path;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        show_message(open_failed_message(path));
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

bool can_open_other_documents() {
    // A self-extracting viewer always opens the document it carries,
    // whatever it is asked to open.
    return startup_state().base == 0;
}

void open_other_document(HWND viewer) {
    if (!can_open_other_documents()) return;
    std::string path;
    if (ask_for_document(viewer, &path)) start_viewer_process(path);
}

void open_dropped_files(HDROP drop) {
    if (can_open_other_documents()) {
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            char path[MAX_PATH + 1] = {};
            if (DragQueryFileA(drop, i, path, sizeof path)) start_viewer_process(path);
        }
    }
    DragFinish(drop);
}

}  // namespace vell
