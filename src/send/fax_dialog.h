// The fax dialog "DLG_FAX" (procedure FAXDLGPROC): the user adds and
// removes fax recipients and sends or cancels. Windows only
// (fax_dialog_win.cpp).
#pragma once

namespace vell {

struct FaxSettings;

// Control ids of DLG_FAX (resources/fax_dialog.rc).
enum FaxDialogControl {
    kFaxNameLabel = 101,
    kFaxName = 102,
    kFaxNumberLabel = 103,
    kFaxNumber = 104,
    kFaxListLabel = 105,
    kFaxAdd = 106,
    kFaxRemove = 107,
    kFaxList = 108,
    kFaxSubjectLabel = 109,
    kFaxSubject = 110,
    kFaxNoteLabel = 111,
    kFaxNote = 112,
    kFaxCancel = 113,
    kFaxSend = 114,
};

// Runs the dialog modally, owned by the window that owns messages when it
// opens (the viewer window, or none for a fax from the command line); while
// it is open it owns every message box itself. On Send Fax the recipients,
// subject and message text of fax are rewritten from the dialog and the
// result is true; Cancel, Escape and closing the window give false.
bool run_fax_dialog(FaxSettings& fax);

}  // namespace vell
