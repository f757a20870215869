#include "print/print_dialog_win.h"

#include "print/print_plan.h"

namespace vell {

#ifndef _WIN64
// The packed 32-bit layout the common dialogs expect.
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA is 66 bytes on 32-bit Windows");
#endif

PrintDialogHandles& print_dialog_handles() {
    static PrintDialogHandles handles;
    return handles;
}

int ask_for_print_dialog(HWND owner, DWORD* flags, HDC* dc, int32_t* copies, int32_t* first,
                         int32_t* last, int32_t lowest, int32_t highest) {
    PrintDialogHandles& kept = print_dialog_handles();
    const DialogPages pages = dialog_pages(*first, *last, lowest, highest);

    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = kept.dev_mode;
    dialog.hDevNames = kept.dev_names;
    dialog.Flags = *flags | PD_SHOWHELP;
    dialog.nFromPage = pages.from;
    dialog.nToPage = pages.to;
    dialog.nMinPage = pages.min;
    dialog.nMaxPage = pages.max;
    dialog.nCopies = WORD(*copies < 0 ? 0 : (*copies > 0xFFFF ? 0xFFFF : *copies));

    const BOOL confirmed = PrintDlgA(&dialog);
    // The dialog may replace the handles it was given even when the user
    // cancels; the ones it hands back are the ones that are still valid.
    kept.dev_mode = dialog.hDevMode;
    kept.dev_names = dialog.hDevNames;
    if (!confirmed) return 0;

    *dc = dialog.hDC;
    *copies = dialog.nCopies;
    *first = dialog.nFromPage;
    *last = dialog.nToPage;
    *flags = dialog.Flags;
    return 1;
}

}  // namespace vell
