// The save command: the save-file dialog, then the copy or the
// self-extracting viewer, with the document file marked as a copy meanwhile.
#include <windows.h>
#include <commdlg.h>

#include <stdexcept>
#include <string>

#include "document/document.h"
#include "document/text.h"
#include "send/cairo_pdf_file.h"
#include "send/copy_mark.h"
#include "send/save.h"
#include "send/send.h"
#include "send/send_rules.h"
#include "startup/module_path.h"
#include "startup/startup.h"
#include "ui_text/message_box.h"

namespace vell {

namespace {

constexpr char kSaveTitle[] = "Save File";
constexpr char kSaveFilter[] = "vell Document|*.VEL|Executable file|*.EXE|PDF document|*.PDF";
// Handed over whole: the dialog takes only its first three characters.
constexpr char kSaveDefaultExtension[] = "EXE|VEL";
constexpr size_t kSaveNameSize = 256;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                             OFN_NOREADONLYRETURN | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(kSaveFlags == 0x288806, "save dialog flags");

// What the save dialog is given and what it gives back.
struct SaveDialogRequest {
    HWND owner = nullptr;
    std::string title;
    std::string file;  // in and out
    std::string initial_directory;
    std::string filter;  // "|" separates the texts
    std::string default_extension;
    DWORD flags = 0;  // in and out
};

std::string current_directory() {
    char directory[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    return length > 0 && length < sizeof directory ? std::string(directory, length) : std::string();
}

// GetSaveFileNameA with the request's settings; the file name comes back
// from the buffer whatever the result.
bool run_save_dialog(SaveDialogRequest& request) {
    char file[kSaveNameSize];
    char file_title[kSaveNameSize] = {};
    copy_to_buffer(file, sizeof file, request.file);
    const std::string filter = dialog_filter(request.filter);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrFileTitle = file_title;
    dialog.nMaxFileTitle = sizeof file_title;
    dialog.lpstrInitialDir = request.initial_directory.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = request.flags;
    dialog.lpstrDefExt = request.default_extension.c_str();
    // The dialog moves the current directory to the folder the user saved
    // to; relative picture paths of later pages resolve against the
    // directory the viewer started in, so it is put back.
    const std::string directory = current_directory();
    const BOOL chosen = GetSaveFileNameA(&dialog);
    if (!directory.empty()) SetCurrentDirectoryA(directory.c_str());
    file[sizeof file - 1] = '\0';
    request.file = file;
    request.flags = dialog.Flags;
    return chosen != 0;
}

// Asks for the target name, owned by the window that owns messages now:
// the viewer window. False when the user cancels.
bool ask_for_save_name(std::string* name) {
    SaveDialogRequest request;
    request.owner = static_cast<HWND>(message_box_owner());
    request.title = kSaveTitle;
    request.initial_directory = current_directory();
    request.filter = kSaveFilter;
    request.default_extension = kSaveDefaultExtension;
    request.flags = kSaveFlags;
    if (!run_save_dialog(request)) return false;
    *name = request.file;
    return true;
}

void save_open_document(Document& doc, PdfProgress progress) {
    CopyMark mark(doc);
    std::string name;
    std::string message;
    if (ask_for_save_name(&name))
        message = save_kind(name) == SaveKind::kPdf
                      ? save_as_pdf(doc, name, module_path(), progress)
                      : save_to(doc.path, name, module_path(), !mark.applied());
    // The document file gets its own header back before the user reads
    // about the outcome, so it never waits marked behind a message box.
    mark.restore();
    if (!message.empty()) show_message(message);
}

}  // namespace

void save_document(PdfProgress progress) {
    try {
        save_open_document(the_document(), progress);
    } catch (const std::exception&) {
        // Only allocation can fail here; the header is back (CopyMark).
        show_message(kOutOfMemoryMessage);
    }
}

}  // namespace vell
