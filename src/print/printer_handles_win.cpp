#include "print/printer_handles_win.h"

#include <winspool.h>

#include <vector>

namespace vell {

bool OpenedPrinter::open(const std::string& name) {
    close();
    PRINTER_DEFAULTSA defaults = {};
    // OpenPrinterA takes a writable name.
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    HANDLE handle = nullptr;
    if (!OpenPrinterA(buffer.data(), &handle, &defaults)) return false;
    handle_ = handle;
    return true;
}

void OpenedPrinter::close() {
    // Nothing can be done about a printer that will not close; the handle
    // is given up either way.
    if (handle_) ClosePrinter(handle_);
    handle_ = nullptr;
}

void PrinterDc::reset(HDC dc) {
    if (dc_) DeleteDC(dc_);
    dc_ = dc;
}

}  // namespace vell
