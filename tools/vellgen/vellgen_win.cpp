// vellgen: a demo generator that writes a vell document page by page while
// the viewer shows it. It is a test tool and the reference for anyone
// writing a generator of their own.
//
//   vellgen [--pages N] [--pace MS] [--title TEXT] [--index] [--no-outputs]
//           [--hold] [--timeout S] [--viewer PATH] OUTPUT.vel
//
// The conversation with the viewer, in order:
//   1. Make a window of our own (it never shows) to receive the viewer's
//      messages, and write the document's header with that window's handle
//      in the builder window field and no pages yet.
//   2. Start the viewer as `vell.exe /BV OUTPUT.vel`. It opens the file
//      shared (we keep writing it) and shows an empty building document.
//   3. The viewer sends WM_COPYDATA code 103 with its window's handle as
//      decimal text: from now on we know where to send.
//   4. For each page: append the page's bytes, rewrite the header (page
//      count and page index position now end at this page), then send code
//      100 with the page's position as decimal text, and code 102 with the
//      progress (0..100).
//   5. After the last page: write the page index, the document index and
//      the final header, then send code 101. The viewer reads everything
//      again from the file and offers printing, saving and sending.
// If the user closes the viewer first, it sends code 104 ("Dummy Info");
// vellgen then stops writing and ends. Every WM_COPYDATA text is a
// zero-terminated string and cbData counts the terminator.
//
// --hold keeps the document building after the last page (no code 101)
// until the viewer closes. vellgen prints one line per event on stdout:
// "viewer N", "page K at P", "progress V", "finished", "viewer closed".
// Exit codes: 0 done (or the viewer closed), 1 wrong arguments or a file
// that cannot be written, 2 the viewer did not start or never answered.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "demo_report.h"
#include "document/file_io.h"
#include "document/format.h"

namespace {

// The building message codes (WM_COPYDATA dwData).
constexpr ULONG_PTR kPageAdded = 100;
constexpr ULONG_PTR kFinished = 101;
constexpr ULONG_PTR kProgress = 102;
constexpr ULONG_PTR kViewerWindow = 103;
constexpr ULONG_PTR kViewerClosed = 104;

struct Options {
    vellgen::ReportOptions report;
    int pace_ms = 500;
    bool hold = false;
    double timeout_s = 30;
    std::string viewer;
    std::string output;
};

// What the generator knows about its viewer; filled by the window procedure.
struct Link {
    HWND own_window = nullptr;
    HWND viewer_window = nullptr;
    bool viewer_closed = false;
    HANDLE viewer_process = nullptr;
};

Link& link() {
    static Link state;
    return state;
}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// ---- The generator's window ------------------------------------------------

std::string message_text(const COPYDATASTRUCT* data) {
    // Never read past cbData, whatever the sender put there.
    if (!data->lpData || data->cbData == 0) return std::string();
    const char* text = static_cast<const char*>(data->lpData);
    size_t length = 0;
    while (length < data->cbData && text[length]) ++length;
    return std::string(text, length);
}

LRESULT CALLBACK generator_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wparam, lparam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
    if (data->dwData == kViewerWindow) {
        // The handle is the decimal text of a 32-bit value.
        const long handle = std::strtol(message_text(data).c_str(), nullptr, 10);
        link().viewer_window = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
        say("viewer " + std::to_string(handle));
    } else if (data->dwData == kViewerClosed) {
        link().viewer_closed = true;
        say("viewer closed");
    }
    return TRUE;
}

HWND make_window(HINSTANCE instance) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = generator_window_proc;
    cls.hInstance = instance;
    cls.lpszClassName = "vellgen builder";
    RegisterClassA(&cls);
    // Created without WS_VISIBLE: it only receives messages.
    return CreateWindowExA(0, cls.lpszClassName, "vellgen", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

// Handles messages for up to ms milliseconds, or until done() is true or
// the viewer has ended. Sent messages (the viewer's WM_COPYDATA) are
// delivered inside PeekMessage.
template <typename Done>
bool pump(DWORD ms, Done done) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        HANDLE process = link().viewer_process;
        const DWORD woke = MsgWaitForMultipleObjects(process ? 1 : 0, &process, FALSE,
                                                     DWORD(deadline - now), QS_ALLINPUT);
        if (process && woke == WAIT_OBJECT_0) {
            // The viewer has ended; take what it sent before it went.
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            link().viewer_closed = true;
            return done();
        }
    }
}

void send(ULONG_PTR code, const std::string& text) {
    COPYDATASTRUCT data = {};
    data.dwData = code;
    data.cbData = DWORD(text.size() + 1);  // the terminator is part of the text
    data.lpData = const_cast<char*>(text.c_str());
    // SendMessage waits until the viewer has handled the message, so the
    // viewer never reads a page we are still writing.
    SendMessageA(link().viewer_window, WM_COPYDATA, reinterpret_cast<WPARAM>(link().own_window),
                 reinterpret_cast<LPARAM>(&data));
}

// ---- Writing the document ----------------------------------------------------

// Writes bytes [from, to) of the composed document and then its header, in
// that order: the header only ever announces bytes that are already there.
bool write_part(vell::File& file, const vell::Bytes& document, size_t from, size_t to) {
    if (to > document.size() || from > to) return false;
    if (to > from && !file.write_at(int64_t(from), document.data() + from, to - from)) return false;
    return file.write_at(0, document.data(), size_t(vell::kHeaderSize));
}

// The end of the pages in a document with `written` pages: where its page
// index starts (the header's page index position is 1-based).
size_t pages_end(const vell::Bytes& document) {
    return size_t(vell::get_i32(document, vell::hdr::kPageIndexPos) - 1);
}

bool start_document(const Options& o, vell::File& file) {
    const vell::Bytes empty = vell::write_document(vellgen::report_document(o.report, 0, false));
    // Created without sharing, then opened again shared for reading and
    // writing, which the viewer needs to open it while we write.
    {
        vell::File create;
        if (!create.create_always(o.output)) return false;
        if (!create.write_at(0, empty.data(), empty.size())) return false;
    }
    return file.open_shared(o.output) && file.writable();
}

bool start_viewer(const Options& o) {
    // The path goes unquoted after "/BV ": the viewer takes the rest of its
    // command line, blanks included, as the path.
    std::string command = "\"" + o.viewer + "\" /BV " + o.output;
    std::vector<char> buffer(command.begin(), command.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(o.viewer.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    link().viewer_process = process.hProcess;
    return true;
}

// Writes and announces the pages; false when the viewer closed meanwhile.
// Each step composes the document of the pages so far, whose bytes up to
// the newest page's end are those of the finished document, and writes the
// newest page and the header.
bool write_pages(const Options& o, vell::File& file) {
    const int total = o.report.pages;
    size_t written_end = size_t(vell::kHeaderSize);
    for (int k = 1; k <= total; ++k) {
        const vell::Bytes now = vell::write_document(vellgen::report_document(o.report, k, false));
        const size_t position = written_end + 1;  // positions are 1-based
        if (!write_part(file, now, written_end, pages_end(now))) return false;
        written_end = pages_end(now);
        send(kPageAdded, std::to_string(position));
        say("page " + std::to_string(k) + " at " + std::to_string(position));
        const int progress = k * 100 / total;
        send(kProgress, std::to_string(progress));
        say("progress " + std::to_string(progress));
        if (pump(DWORD(o.pace_ms), [] { return link().viewer_closed; })) return false;
    }
    return true;
}

bool finish_document(const Options& o, vell::File& file) {
    const vell::Bytes done = vell::write_document(vellgen::report_document(o.report, o.report.pages, true));
    if (!write_part(file, done, pages_end(done), done.size())) return false;
    send(kFinished, std::string());
    say("finished");
    return true;
}

// ---- Command line --------------------------------------------------------------

std::string default_viewer() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own = path;
    const size_t slash = own.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : own.substr(0, slash + 1)) + "vell.exe";
}

bool parse(int argc, char** argv, Options* o) {
    o->viewer = default_viewer();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--pages" && (v = value())) {
            o->report.pages = std::atoi(v);
        } else if (a == "--pace" && (v = value())) {
            o->pace_ms = std::atoi(v);
        } else if (a == "--title" && (v = value())) {
            o->report.title = v;
        } else if (a == "--timeout" && (v = value())) {
            o->timeout_s = std::atof(v);
        } else if (a == "--viewer" && (v = value())) {
            o->viewer = v;
        } else if (a == "--index") {
            o->report.with_index = true;
        } else if (a == "--no-outputs") {
            o->report.outputs_allowed = false;
        } else if (a == "--hold") {
            o->hold = true;
        } else if (!a.empty() && a[0] != '-' && o->output.empty()) {
            o->output = a;
        } else {
            return false;
        }
    }
    return !o->output.empty() && o->report.pages >= 1 && o->report.pages <= vell::kMaxPages &&
           o->pace_ms >= 0 && o->pace_ms <= 600000 && o->timeout_s > 0 &&
           o->report.title.size() <= size_t(vell::kTitleSize);
}

int usage() {
    std::fprintf(stderr,
                 "usage: vellgen [--pages N] [--pace MS] [--title TEXT] [--index] [--no-outputs]\n"
                 "               [--hold] [--timeout S] [--viewer PATH] OUTPUT.vel\n");
    return 1;
}

int run(Options& o) {
    link().own_window = make_window(GetModuleHandleA(nullptr));
    if (!link().own_window) return 2;
    o.report.builder_window = int32_t(reinterpret_cast<intptr_t>(link().own_window));

    vell::File file;
    if (!start_document(o, file)) {
        std::fprintf(stderr, "vellgen: cannot write %s\n", o.output.c_str());
        return 1;
    }
    if (!start_viewer(o)) {
        std::fprintf(stderr, "vellgen: cannot start %s\n", o.viewer.c_str());
        return 2;
    }
    const DWORD timeout_ms = DWORD(o.timeout_s * 1000);
    if (!pump(timeout_ms, [] { return link().viewer_window != nullptr || link().viewer_closed; }) ||
        !link().viewer_window) {
        std::fprintf(stderr, "vellgen: the viewer did not send its window\n");
        return 2;
    }
    if (!write_pages(o, file)) return link().viewer_closed ? 0 : 1;
    if (o.hold) {
        // Stays building until the user closes the viewer.
        pump(INFINITE - 1, [] { return link().viewer_closed; });
        return 0;
    }
    return finish_document(o, file) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain line feeds: scripts read what vellgen says.
    _setmode(_fileno(stdout), _O_BINARY);
    Options options;
    if (!parse(argc, argv, &options)) return usage();
    int status = 1;
    try {
        status = run(options);
    } catch (const std::exception& e) {
        // The writer refuses what the format cannot hold.
        std::fprintf(stderr, "vellgen: %s\n", e.what());
    }
    if (link().viewer_process) CloseHandle(link().viewer_process);
    return status;
}
