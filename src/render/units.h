// Device units and scaling: how inches and points become device pixels.
//
// Page records give positions in single-precision inches and sizes in
// points (1/72 inch). Every real that becomes a pixel is rounded to the
// nearest integer with halves to the even neighbour, from products formed
// in double precision.
//
// The process-wide pieces of rendering state live here, each in one named
// struct behind one accessor: the zoom factor, the display units, the page
// geometry and the decimal separator. The GUI thread alone reads and
// writes them.
#pragma once

#include <cstdint>
#include <string>

#include "document/document.h"
#include "render/surface.h"

namespace vell {

// ---- Process-wide state -----------------------------------------------------

// The zoom factor: 1.0 is 100 %. The viewer sets it from its zoom box; the
// print job holds it at 1.0 while it prints; render a page changes it for
// the length of one page (display option 0x800) and puts it back.
struct ZoomFactor {
    double value = 1.0;
};
ZoomFactor& zoom_factor();

// The zoom a page is drawn at on the screen: 1.0 when the display option is
// 0x800 and the zoom factor is below 1.001 (the viewer shrinks the image
// when it copies it), else the factor.
double drawn_zoom(double zoom, int32_t display_option);

// The screen resolution used when a page is drawn for the screen. Set at
// start-up and by every run of page geometry (crosswise for landscape).
struct DisplayUnits {
    int16_t horizontal = 96;  // pixels per inch
    int16_t vertical = 96;
};
DisplayUnits& display_units();

// What page geometry last saw: the page as displayed.
struct PageGeometry {
    int16_t paper_size = 1;    // 1..41
    int16_t orientation = 0;   // 1 = landscape
    int16_t paper_source = 0;  // copied, not read here
    float width = 8.5f;        // inches across, as displayed
    float height = 11.0f;      // inches down, as displayed
};
PageGeometry& page_geometry();

// The decimal separator that decimal alignment looks for; read once at
// start-up from win.ini, section "intl", key "sDecimal".
struct DecimalSeparator {
    char value = '.';
};
DecimalSeparator& decimal_separator();

// ---- Arithmetic -------------------------------------------------------------

// Nearest integer, halves to even (1.5 -> 2, 2.5 -> 2, -0.5 -> 0). Values
// beyond the 32-bit range are clamped and NaN gives 0, so a corrupt page
// can never produce undefined arithmetic.
int32_t round_half_even(double value);

// a + b, held to the 32-bit range: pixel sums of corrupt pages stay defined.
int32_t saturated_sum(int32_t a, int32_t b);

// Paper size code c (1..41) as Windows defines dmPaperSize, width first;
// codes 24, 25 and 26 (the C, D and E sheets) take Letter. selector 0 gives
// the height, any other value the width, in inches (single precision).
// Codes outside 1..41 give Letter.
float paper_size(int code, int selector);

// The diagonal of the largest paper a page can ask for (Envelope C3), in
// inches: no size on a page needs to be larger to show all there is.
double largest_page_diagonal();

// Device points of a line after mapping.
struct DeviceLine {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Cuts the line from a to b to the square from -reach to reach on both
// axes (Liang-Barsky), in place; false when no part of it is inside. The
// ends must be finite.
bool clip_to_square(double reach, double* ax, double* ay, double* bx, double* by);

// The mapping of one render: resolution, zoom and origin offset.
//
// Whatever a page claims, what goes to a surface stays within what a page
// can show: every size (pen widths, lengths) is held to the largest page's
// diagonal in device pixels, and every position to a few diagonals either
// side of the origin. A device asked for a pen a million pixels wide or a
// figure two billion pixels across spends memory and time on pixels
// nobody sees, and overflows its own arithmetic; held, a box that covers
// the page still fills it and a line keeps its course across the page.
struct DeviceMapping {
    int32_t resolution_x = 96;
    int32_t resolution_y = 96;
    double zoom = 1.0;
    int32_t origin_x = 0;
    int32_t origin_y = 0;

    // Position -> device pixel: round(x * resolution * zoom) + origin.
    int32_t map_x(double x) const;
    int32_t map_y(double y) const;
    // Length along x or y -> pixels: round(length * resolution * zoom).
    int32_t length_x(double inches) const;
    int32_t length_y(double inches) const;
    // Line or border width of w points: round(w * resolution_x * zoom / 72).
    int32_t pen_width(double points) const;
    // The largest size handed to a surface: the largest page's diagonal in
    // pixels at this resolution and zoom, at least 1.
    int32_t size_limit() const;
    // A line from (x1, y1) to (x2, y2): the part of it within the reach of
    // positions, mapped. False when no part of it is within reach, so
    // nothing of it could show.
    bool map_line(double x1, double y1, double x2, double y2, DeviceLine* line) const;
};

// Character height of a font of size points on a device of logpixels_y:
// -round(logpixels_y * size / 72), the value LOGFONTA's lfHeight takes;
// held, like every size, to the largest page's diagonal on that device.
int32_t font_height(double size_points, int logpixels_y);

// ---- Operations ----------------------------------------------------------------

// Initialise display units from the desktop's resolution (a value below 1
// becomes 96) and the decimal separator from win.ini's "intl"/"sDecimal"
// value (its first character; "." when that is blank or the value empty).
void initialise_display_units(Resolution desktop, const std::string& sdecimal);
// The same with the values the platform reports: Windows asks the desktop
// window's device context and win.ini (units_win.cpp); the host stand-in
// takes 96 pixels per inch and "." (units_posix.cpp).
void initialise_display_units();

// Page geometry: sets the page geometry from a page header (a paper size
// outside 1..41 becomes Letter; landscape swaps width and height) and the
// display units from the desktop resolution, crosswise for landscape. A
// resolution below 1 is taken as 96 here too.
void run_page_geometry(const PageHeader& header, Resolution desktop);
// The same with the desktop resolution that the platform reports.
void run_page_geometry(const PageHeader& header);

// The desktop's resolution as the platform reports it (Windows: LOGPIXELSX
// and LOGPIXELSY of the desktop window's device context; host: 96 x 96).
Resolution platform_desktop_resolution();

// Page extent in pixels for the viewer: round(page width * horizontal
// screen resolution * zoom) by round(page height * vertical resolution *
// zoom), from the current page geometry and display units.
struct PixelExtent {
    int32_t width = 0;
    int32_t height = 0;
};
PixelExtent page_extent(double zoom);

}  // namespace vell
