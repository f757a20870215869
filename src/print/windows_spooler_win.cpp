#include "print/windows_spooler_win.h"

#include <winspool.h>

#include <vector>

#include "document/text.h"
#include "print/print_dialog_win.h"
#include "print/printer_entry.h"
#include "render/interpreter.h"
#include "ui_text/message_box.h"

namespace vell {

namespace {

// The spooler's calls take writable names.
std::vector<char> name_buffer(const std::string& name) {
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    return buffer;
}

}  // namespace

WindowsSpooler::~WindowsSpooler() { delete_dc(); }

std::string WindowsSpooler::default_printer_entry() {
    char entry[kDeviceEntrySize] = {};
    GetPrivateProfileStringA("WINDOWS", "DEVICE", "", entry, sizeof entry, "win.ini");
    return std::string(entry);
}

bool WindowsSpooler::open_printer(const std::string& name) { return printer_.open(name); }

int32_t WindowsSpooler::settings_size(const std::string& name) {
    std::vector<char> device = name_buffer(name);
    return DocumentPropertiesA(owner_, printer_.handle(), device.data(), nullptr, nullptr, 0);
}

// Both buffers hold the size the driver reported (at least 20122 bytes):
// DocumentPropertiesA itself takes no size.
bool WindowsSpooler::fetch_settings(const std::string& name, uint8_t* output, uint8_t* input,
                                    size_t) {
    std::vector<char> device = name_buffer(name);
    return DocumentPropertiesA(owner_, printer_.handle(), device.data(),
                               reinterpret_cast<DEVMODEA*>(output),
                               reinterpret_cast<DEVMODEA*>(input), DM_OUT_BUFFER) == IDOK;
}

void WindowsSpooler::close_printer() { printer_.close(); }

bool WindowsSpooler::create_dc(const std::string& name) {
    // The output must be null, not "": Wine sends a job for an empty
    // output to an empty port, where it is lost without a word.
    dc_.reset(CreateDCA("", name.c_str(), nullptr, nullptr));
    return dc_.get() != nullptr;
}

bool WindowsSpooler::print_dialog(PrintRange* range, int32_t page_count) {
    DWORD flags = kPrintJobDialogFlags;
    HDC dc = nullptr;
    int32_t copies = range->copies, first = range->first, last = range->last;
    if (!ask_for_print_dialog(owner_, &flags, &dc, &copies, &first, &last, 1, page_count))
        return false;
    // The job prints From to To whatever the returned flags say, and
    // makes the copies itself.
    range->copies = copies;
    range->first = first;
    range->last = last;
    dc_.reset(dc);
    return dc != nullptr;
}

void WindowsSpooler::pause() { Sleep(5); }

void WindowsSpooler::begin_wait_cursor() {
    cursor_before_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void WindowsSpooler::end_wait_cursor() {
    SetCursor(cursor_before_ ? cursor_before_ : LoadCursorA(nullptr, IDC_ARROW));
}

bool WindowsSpooler::start_doc(const std::string& name) {
    char document_name[kDocumentNameLimit + 1];
    copy_to_buffer(document_name, sizeof document_name, name);
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = document_name;
    info.lpszOutput = nullptr;
    return StartDocA(dc_.get(), &info) > 0;
}

bool WindowsSpooler::reset_dc(const uint8_t* devmode, size_t) {
    return ResetDCA(dc_.get(), reinterpret_cast<const DEVMODEA*>(devmode)) != nullptr;
}

PrinterCaps WindowsSpooler::device_caps() {
    PrinterCaps caps;
    caps.resolution_x = GetDeviceCaps(dc_.get(), LOGPIXELSX);
    caps.resolution_y = GetDeviceCaps(dc_.get(), LOGPIXELSY);
    caps.offset_x = GetDeviceCaps(dc_.get(), PHYSICALOFFSETX);
    caps.offset_y = GetDeviceCaps(dc_.get(), PHYSICALOFFSETY);
    return caps;
}

void WindowsSpooler::render_page(int16_t page, int32_t resolution_x, int32_t resolution_y,
                                 int32_t origin_x, int32_t origin_y, uint8_t* settings,
                                 int32_t driver_settings_size) {
    if (!surface_) surface_.reset(new GdiSurface(dc_.get(), owner_));
    vell::render_page(page, *surface_, resolution_x, resolution_y, origin_x, origin_y, 1,
                      settings, driver_settings_size);
}

bool WindowsSpooler::end_page() { return EndPage(dc_.get()) > 0; }

bool WindowsSpooler::end_doc() { return EndDoc(dc_.get()) > 0; }

// The document is given up whatever AbortDoc answers: the printer has
// already refused a page of it.
void WindowsSpooler::abort_doc() { AbortDoc(dc_.get()); }

void WindowsSpooler::delete_dc() {
    surface_.reset();
    dc_.reset();
}

void WindowsSpooler::show_message(const std::string& text) { vell::show_message(text); }

}  // namespace vell
