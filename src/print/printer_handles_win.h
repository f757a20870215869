// Owners of the spooler's handles, so that every path of a print job
// closes its printer and deletes its device context. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace vell {

// A printer opened with OpenPrinterA; ClosePrinter when it goes.
class OpenedPrinter {
public:
    OpenedPrinter() = default;
    ~OpenedPrinter() { close(); }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;

    // PRINTER_DEFAULTS all zero: no data type, no settings, no access mask.
    bool open(const std::string& name);
    void close();
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// A printer device context; DeleteDC when it goes.
class PrinterDc {
public:
    PrinterDc() = default;
    ~PrinterDc() { reset(); }
    PrinterDc(const PrinterDc&) = delete;
    PrinterDc& operator=(const PrinterDc&) = delete;

    void reset(HDC dc = nullptr);
    HDC get() const { return dc_; }

private:
    HDC dc_ = nullptr;
};

}  // namespace vell
