// Opening and printing a file the way the Windows shell does: ShellExecuteExA
// with a verb, so the registered command of the file's type decides which
// program runs and with which command line.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "driver.h"

namespace vtdriver {

int cmd_shell(const Args& args) {
    Options options(args, {"--timeout"});
    if (options.positional.size() != 2) {
        std::fprintf(stderr, "usage: vtdriver shell [--timeout S] VERB FILE\n");
        return 64;
    }
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = options.positional[0].c_str();
    info.lpFile = options.positional[1].c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || !info.hProcess) {
        std::fprintf(stderr, "vtdriver shell: %s of %s failed (error %lu)\n", info.lpVerb,
                     info.lpFile, GetLastError());
        return 1;
    }
    const int status = wait_for_program(info.hProcess, options.positional[1], options.seconds("--timeout", 30));
    CloseHandle(info.hProcess);
    return status;
}

}  // namespace vtdriver
