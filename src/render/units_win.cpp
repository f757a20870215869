// The platform's side of device units: the desktop window's resolution and
// the decimal separator of win.ini.
#include "render/units.h"

#include <windows.h>

namespace vell {

Resolution platform_desktop_resolution() {
    Resolution resolution;
    HWND desktop = GetDesktopWindow();
    HDC dc = GetWindowDC(desktop);
    if (dc) {
        resolution.x = GetDeviceCaps(dc, LOGPIXELSX);
        resolution.y = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(desktop, dc);
    }
    return resolution;
}

void initialise_display_units() {
    char value[300] = {};
    GetPrivateProfileStringA("intl", "sDecimal", ".", value, sizeof value, "win.ini");
    initialise_display_units(platform_desktop_resolution(), value);
}

}  // namespace vell
