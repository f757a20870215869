// The print job's platform calls on Windows: win.ini, the spooler, the
// printer device context, the print dialog and rendering with the GDI
// surface. Windows only.
#pragma once

#include <windows.h>

#include <memory>

#include "print/printer_handles_win.h"
#include "print/spooler.h"
#include "render/gdi_surface_win.h"

namespace vell {

class WindowsSpooler : public Spooler {
public:
    // owner: the viewer window, null when printing from the command line.
    explicit WindowsSpooler(HWND owner) : owner_(owner) {}
    ~WindowsSpooler() override;
    WindowsSpooler(const WindowsSpooler&) = delete;
    WindowsSpooler& operator=(const WindowsSpooler&) = delete;

    std::string default_printer_entry() override;
    bool open_printer(const std::string& name) override;
    int32_t settings_size(const std::string& name) override;
    bool fetch_settings(const std::string& name, uint8_t* output, uint8_t* input,
                        size_t size) override;
    void close_printer() override;
    bool create_dc(const std::string& name) override;
    bool print_dialog(PrintRange* range, int32_t page_count) override;
    void pause() override;
    void begin_wait_cursor() override;
    void end_wait_cursor() override;
    bool start_doc(const std::string& name) override;
    bool reset_dc(const uint8_t* devmode, size_t size) override;
    PrinterCaps device_caps() override;
    void render_page(int16_t page, int32_t resolution_x, int32_t resolution_y, int32_t origin_x,
                     int32_t origin_y, uint8_t* settings, int32_t driver_settings_size) override;
    bool end_page() override;
    bool end_doc() override;
    void abort_doc() override;
    void delete_dc() override;
    void show_message(const std::string& text) override;

private:
    HWND owner_;
    OpenedPrinter printer_;
    PrinterDc dc_;
    // One surface for the whole job, so fonts stay made from page to page;
    // it goes before its device context does.
    std::unique_ptr<GdiSurface> surface_;
    HCURSOR cursor_before_ = nullptr;
};

}  // namespace vell
