// The print job on Windows: the job of print_run.cpp with the Windows
// spooler, owned by the viewer window when there is one.
#include "print/print_job.h"

#include "print/print_hooks.h"
#include "print/print_run.h"
#include "print/windows_spooler_win.h"

namespace vell {

void print_document(bool without_dialog) {
    WindowsSpooler spooler(static_cast<HWND>(print_hooks().main_window));
    print_open_document(spooler, without_dialog);
}

}  // namespace vell
