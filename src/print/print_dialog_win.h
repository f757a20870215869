// The print dialog routine around PrintDlgA. Windows only.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdint>

namespace vell {

// The settings handles of the last successful print dialog, for the life
// of the process: the next dialog opens with them and comes back with the
// printer and settings chosen last. Never freed.
struct PrintDialogHandles {
    HGLOBAL dev_mode = nullptr;
    HGLOBAL dev_names = nullptr;
};
PrintDialogHandles& print_dialog_handles();

// The print job's flags: a device context back, no "Selection" choice, no
// "Print to file" box.
constexpr DWORD kPrintJobDialogFlags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
static_assert(kPrintJobDialogFlags == 0x100104, "print dialog flags");

// Shows the print dialog owned by owner, with PD_SHOWHELP added to *flags,
// the page boxes from *first and *last held to lowest..highest, and
// *copies. Returns 1 when the user confirmed: then *dc, *copies, *first,
// *last and *flags hold what the dialog returned. Returns 0 otherwise and
// writes none of them.
int ask_for_print_dialog(HWND owner, DWORD* flags, HDC* dc, int32_t* copies, int32_t* first,
                         int32_t* last, int32_t lowest, int32_t highest);

}  // namespace vell
