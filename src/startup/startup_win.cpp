// Start-up, step by step: the command text, the self-extracting check, the
// open-file dialog, the whole-line switches, silent registration, the prefix
// switches, opening and validating the document, its settings and labels,
// then closing it and deleting it when it asks for that.
#include "startup/startup_win.h"

#include <commdlg.h>

#include "document/container.h"
#include "document/document.h"
#include "document/file_io.h"
#include "document/password.h"
#include "document/text.h"
#include "print/print_job.h"
#include "render/units.h"
#include "send/send.h"
#include "startup/module_path.h"
#include "startup/registration.h"
#include "startup/startup.h"
#include "ui_text/labels.h"
#include "ui_text/message_box.h"
#include "viewer/viewer.h"

namespace vell {

namespace {

constexpr char kOpenDialogTitle[] = "Open vell Document";
constexpr char kOpenDialogFile[] = "*.vel";
// A filter is pairs of display text and pattern; "*.vel" serves as both, so
// the list shows "*.vel" and really filters by it.
constexpr char kOpenDialogFilter[] = "*.vel|*.vel|";
// The dialog appends the default extension after its own dot (and only its
// first three characters), so it is given without one: "vel", not ".vel",
// which would turn a typed "report" into "report..ve".
constexpr char kOpenDialogExtension[] = "vel";
constexpr size_t kOpenDialogFileSize = 256;
constexpr DWORD kOpenDialogFlags =
    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(kOpenDialogFlags == 0x288804, "open dialog flags");

// An ordinary start registers the file type when it is missing; a document
// owned by another program stays with it. The result is of no concern here.
void register_if_missing() {
    if (!is_registered()) register_file_type();
}

// Using a valid document: the password when it has one, then exactly one
// of the print job, e-mail, fax or the viewer window.
void use_document(Document& doc, const StartRequest& request) {
    if (header_i16(doc, hdr::kPasswordLength) > 0 && !ask_for_password()) return;
    restrict_copied_document(doc);

    initialise_display_units();
    read_page_index(doc);
    read_document_index(doc);
    load_page(doc, 1);
    create_viewer_resources();
    if (request.print)
        print_document(request.no_dialog_print);
    else if (request.email)
        send_by_email();
    else if (request.fax)
        send_by_fax();
    else
        run_viewer_window();
    destroy_viewer_resources();
}

// Opens, validates and uses the document at path, then closes it: every
// failure shows its message and ends. The file is deleted afterwards only
// when it passed validation, asks for it, and is a plain document.
void open_and_use(const std::string& path, const StartRequest& request, int32_t base) {
    if (!file_exists(path)) {
        show_message(locate_failed_message(path));
        return;
    }
    Document& doc = the_document();
    if (!open_document(doc, path, base)) {
        show_message(open_failed_message(path));
        return;
    }
    doc.building = request.building;
    if (read_header(doc) != HeaderCheck::kDocument) {
        show_message(invalid_file_message(path));
        close_document(doc);
        return;
    }
    // A building document's page count is not valid yet; it is the
    // generator's business to stay within the page numbers.
    if (!doc.building && too_many_pages(doc)) {
        show_message(too_many_pages_message(path));
        close_document(doc);
        return;
    }
    doc.validated = true;
    if (!doc.building) read_settings(doc);
    set_window_label(doc, 0, std::string());

    use_document(doc, request);

    close_document(doc);
    // A failure to delete is not reported: the document has been shown.
    // The full path taken at opening: the current directory may have moved.
    if (delete_when_closed(doc)) delete_file(doc.path);
}

}  // namespace

bool ask_for_document(HWND owner, std::string* path) {
    char file[kOpenDialogFileSize];
    copy_to_buffer(file, sizeof file, kOpenDialogFile);
    const std::string filter = dialog_filter(kOpenDialogFilter);
    char directory[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof directory, directory);

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = directory;
    dialog.lpstrTitle = kOpenDialogTitle;
    dialog.lpstrDefExt = kOpenDialogExtension;
    dialog.Flags = kOpenDialogFlags;
    if (!GetOpenFileNameA(&dialog)) return false;
    *path = trim(file);
    return !path->empty();
}

StartupState& startup_state() {
    static StartupState state;
    return state;
}

int run_startup(HINSTANCE instance) {
    StartupState& state = startup_state();
    state.instance = instance;

    const std::string self = module_path();
    const std::string command_text = command_text_from_command_line(GetCommandLineA(), self);
    state.base = self_extract_base(self);

    StartRequest request = interpret_command_text(command_text, state.base, self);
    switch (request.action) {
    case StartAction::kOpenDialog: {
        std::string chosen;
        if (!ask_for_document(nullptr, &chosen)) return 0;
        register_if_missing();
        // The chosen name is the path as it is: no switches apply to it.
        request = StartRequest();
        request.path = chosen;
        break;
    }
    case StartAction::kInstall:
        register_file_type();
        return 0;
    case StartAction::kInstallVerbose:
        show_message(register_file_type() ? kRegisteredMessage : kRegisterFailedMessage);
        return 0;
    case StartAction::kShowRegistry:
        if (is_registered())
            show_registry_settings();
        else
            show_message(kNotRegisteredMessage);
        return 0;
    case StartAction::kOpenDocument:
        // A self-extracting viewer never registers itself as the handler.
        if (state.base == 0) register_if_missing();
        break;
    }
    state.request = request;
    open_and_use(request.path, request, state.base);
    return 0;
}

}  // namespace vell
