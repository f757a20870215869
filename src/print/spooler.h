// Everything the print job asks of the platform, as one interface: the
// profile entry, the spooler's printer and settings calls, the device
// context and its document, the print dialog, the wait cursor, rendering
// onto the printer and the message box.
//
// The Windows spooler (windows_spooler_win.h) makes each call the Win32
// call of the same name; the unit tests plug in a recording one. The job
// itself (print_run.h) is thus the same code on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "print/print_plan.h"

namespace vell {

// What the job reads of the printer's device context (GetDeviceCaps).
struct PrinterCaps {
    int32_t resolution_x = 0;  // LOGPIXELSX
    int32_t resolution_y = 0;  // LOGPIXELSY
    int32_t offset_x = 0;      // PHYSICALOFFSETX
    int32_t offset_y = 0;      // PHYSICALOFFSETY
};

class Spooler {
public:
    virtual ~Spooler() = default;

    // GetPrivateProfileStringA("WINDOWS", "DEVICE", "", buffer of 1000
    // bytes, "win.ini").
    virtual std::string default_printer_entry() = 0;

    // ---- The default printer ------------------------------------------------
    // OpenPrinterA with a PRINTER_DEFAULTS whose fields are all zero.
    virtual bool open_printer(const std::string& name) = 0;
    // DocumentPropertiesA(main window, printer, name, null, null, 0): the
    // size of the printer's settings, below 0 on failure.
    virtual int32_t settings_size(const std::string& name) = 0;
    // DocumentPropertiesA(main window, printer, name, output, input,
    // DM_OUT_BUFFER), both buffers of size bytes; true when it reports IDOK.
    virtual bool fetch_settings(const std::string& name, uint8_t* output, uint8_t* input,
                                size_t size) = 0;
    // ClosePrinter; nothing when the printer was not opened.
    virtual void close_printer() = 0;

    // ---- The device context ---------------------------------------------------
    // CreateDCA for the printer with no initial settings; false when there
    // is no device context.
    virtual bool create_dc(const std::string& name) = 0;
    // The print dialog routine, owned by the main window, with lowest page
    // 1 and highest page the page count: range holds first, last and copies
    // going in and, when the user confirmed (true), coming out; on false
    // nothing is written and there is no device context.
    virtual bool print_dialog(PrintRange* range, int32_t page_count) = 0;
    // Sleep(5) after the device context was asked for.
    virtual void pause() = 0;
    // The wait cursor while the job prints, and the cursor before it back.
    virtual void begin_wait_cursor() = 0;
    virtual void end_wait_cursor() = 0;

    // ---- The spooler document ---------------------------------------------------
    // StartDocA with the document name and no output; false on failure.
    virtual bool start_doc(const std::string& name) = 0;
    // ResetDCA with a DEVMODEA buffer of size bytes.
    virtual bool reset_dc(const uint8_t* devmode, size_t size) = 0;
    virtual PrinterCaps device_caps() = 0;
    // Render a page with the printing flag: the page, the resolution, the
    // origin offset (minus the physical offset), and the settings block
    // with the driver settings size, or null and 0 when there is none.
    virtual void render_page(int16_t page, int32_t resolution_x, int32_t resolution_y,
                             int32_t origin_x, int32_t origin_y, uint8_t* settings,
                             int32_t driver_settings_size) = 0;
    virtual bool end_page() = 0;
    virtual bool end_doc() = 0;
    virtual void abort_doc() = 0;
    // DeleteDC of the device context.
    virtual void delete_dc() = 0;

    // The message box of the viewer (caption the document title).
    virtual void show_message(const std::string& text) = 0;
};

}  // namespace vell
