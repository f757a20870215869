// Starting a program with an exact command line. Wine quotes every argument
// that contains a blank when it builds a Windows command line from Unix
// arguments, so tests that need the command text exactly as written (two
// blanks after a switch, a path with a blank) start vell.exe through here.
#include <windows.h>

#include <cstdio>

#include "driver.h"
#include "report_win.h"

namespace vtdriver {

int wait_for_program(void* process, const std::string& name, double timeout) {
    if (WaitForSingleObject(process, DWORD(timeout * 1000)) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        std::printf("exit=%lu\n", code);
        // A crash ends the program with an exception code (the test prefix
        // starts no debugger): say so where the case's log keeps it.
        if (code >= 0xC0000000u)
            std::fprintf(stderr, "vtdriver run: %s ended by %s\n", name.c_str(),
                         describe_exit_code(code).c_str());
        return 0;
    }
    // A program still running is a failure of the test; it must not
    // outlive it. What it shows is logged first.
    report_wait("run", name + " to end, " + std::to_string(int(timeout)) + " s",
                "still running; windows: " + visible_windows());
    TerminateProcess(process, 255);
    WaitForSingleObject(process, 5000);
    std::printf("timeout\n");
    return 2;
}

int cmd_run(const Args& args) {
    Options options(args, {"--timeout", "--lock", "--cwd"});
    if (options.positional.size() != 2) {
        std::fprintf(stderr,
                     "usage: vtdriver run [--timeout S] [--lock FILE] [--cwd DIR] [--unquoted] EXE "
                     "COMMAND-TAIL\n");
        return 64;
    }
    double timeout = options.seconds("--timeout", 30);
    const std::string& exe = options.positional[0];
    const std::string& tail = options.positional[1];

    // --lock holds a file open without any sharing while the program runs,
    // so that the program finds the file but cannot open it.
    HANDLE lock = INVALID_HANDLE_VALUE;
    std::string lock_path = options.get("--lock", "");
    if (!lock_path.empty()) {
        lock = CreateFileA(lock_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (lock == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "vtdriver run: cannot lock %s\n", lock_path.c_str());
            return 1;
        }
    }

    // --unquoted: the program's path as it stands, blanks and all, the way
    // Windows hands on an unquoted registered command.
    std::string command_line = options.has("--unquoted") ? exe : "\"" + exe + "\"";
    if (!tail.empty()) command_line += " " + tail;
    std::vector<char> buffer(command_line.begin(), command_line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string directory = options.get("--cwd", "");
    if (!CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        std::fprintf(stderr, "vtdriver run: cannot start %s (error %lu)\n", exe.c_str(),
                     GetLastError());
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        return 1;
    }
    const int status = wait_for_program(process.hProcess, exe, timeout);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    return status;
}

}  // namespace vtdriver
