// What the Wine prefix knows of printers: the default printer entry of
// win.ini and every printer with its port.
//
//   printers
//
// Prints device= (win.ini "WINDOWS"/"DEVICE") and one "printer=NAME
// port=PORT" line per printer. Asking for the printers makes Wine take up
// the printers of the CUPS server it is pointed at (CUPS_SERVER), and with
// them its default printer.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <vector>

#include "driver.h"

namespace vtdriver {

int cmd_printers(const Args&) {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed && !EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed,
                                 &count))
        count = 0;
    char device[1000] = {};
    GetPrivateProfileStringA("WINDOWS", "DEVICE", "", device, sizeof device, "win.ini");
    std::printf("device=%s\n", device);
    const PRINTER_INFO_2A* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        std::printf("printer=%s port=%s\n", printers[i].pPrinterName ? printers[i].pPrinterName : "",
                    printers[i].pPortName ? printers[i].pPortName : "");
    return 0;
}

}  // namespace vtdriver
