#include "render/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "document/format.h"

namespace vell {

ZoomFactor& zoom_factor() {
    static ZoomFactor state;
    return state;
}

double drawn_zoom(double zoom, int32_t display_option) {
    return display_option == kDisplayShrink && zoom < 1.001 ? 1.0 : zoom;
}

DisplayUnits& display_units() {
    static DisplayUnits state;
    return state;
}

PageGeometry& page_geometry() {
    static PageGeometry state;
    return state;
}

DecimalSeparator& decimal_separator() {
    static DecimalSeparator state;
    return state;
}

int32_t round_half_even(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    int64_t whole = static_cast<int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) ++whole;
    return static_cast<int32_t>(whole);
}

namespace {

// Windows paper sizes 1..41, width first, as the dmPaperSize documentation
// gives them: in inches, or in millimetres where mm is set.
struct Paper {
    float width;
    float height;
    bool mm;
};

constexpr Paper kPapers[41] = {
    {8.5f, 11.0f, false},      // 1 Letter
    {8.5f, 11.0f, false},      // 2 Letter Small
    {11.0f, 17.0f, false},     // 3 Tabloid
    {17.0f, 11.0f, false},     // 4 Ledger
    {8.5f, 14.0f, false},      // 5 Legal
    {5.5f, 8.5f, false},       // 6 Statement
    {7.25f, 10.5f, false},     // 7 Executive
    {297.0f, 420.0f, true},    // 8 A3
    {210.0f, 297.0f, true},    // 9 A4
    {210.0f, 297.0f, true},    // 10 A4 Small
    {148.0f, 210.0f, true},    // 11 A5
    {250.0f, 354.0f, true},    // 12 B4
    {182.0f, 257.0f, true},    // 13 B5
    {8.5f, 13.0f, false},      // 14 Folio
    {215.0f, 275.0f, true},    // 15 Quarto
    {10.0f, 14.0f, false},     // 16 10x14
    {11.0f, 17.0f, false},     // 17 11x17
    {8.5f, 11.0f, false},      // 18 Note
    {3.875f, 8.875f, false},   // 19 Envelope #9
    {4.125f, 9.5f, false},     // 20 Envelope #10
    {4.5f, 10.375f, false},    // 21 Envelope #11
    {4.75f, 11.0f, false},     // 22 Envelope #12
    {5.0f, 11.5f, false},      // 23 Envelope #14
    {8.5f, 11.0f, false},      // 24 C sheet: shown as Letter
    {8.5f, 11.0f, false},      // 25 D sheet: shown as Letter
    {8.5f, 11.0f, false},      // 26 E sheet: shown as Letter
    {110.0f, 220.0f, true},    // 27 Envelope DL
    {162.0f, 229.0f, true},    // 28 Envelope C5
    {324.0f, 458.0f, true},    // 29 Envelope C3
    {229.0f, 324.0f, true},    // 30 Envelope C4
    {114.0f, 162.0f, true},    // 31 Envelope C6
    {114.0f, 229.0f, true},    // 32 Envelope C65
    {250.0f, 353.0f, true},    // 33 Envelope B4
    {176.0f, 250.0f, true},    // 34 Envelope B5
    {176.0f, 125.0f, true},    // 35 Envelope B6
    {110.0f, 230.0f, true},    // 36 Envelope Italy
    {3.875f, 7.5f, false},     // 37 Envelope Monarch
    {3.625f, 6.5f, false},     // 38 6 3/4 Envelope
    {14.875f, 11.0f, false},   // 39 US Std Fanfold
    {8.5f, 12.0f, false},      // 40 German Std Fanfold
    {8.5f, 13.0f, false},      // 41 German Legal Fanfold
};

int valid_paper(int code) { return code >= 1 && code <= 41 ? code : 1; }

int valid_resolution(int value) { return value < 1 ? 96 : value; }

}  // namespace

float paper_size(int code, int selector) {
    const Paper& paper = kPapers[valid_paper(code) - 1];
    float value = selector == 0 ? paper.height : paper.width;
    // Millimetres become inches at 25.4 to the inch, in single precision.
    if (paper.mm) value = value / 25.4f;
    return value;
}

int32_t saturated_sum(int32_t a, int32_t b) {
    const int64_t sum = int64_t(a) + int64_t(b);
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return int32_t(sum);
}

double largest_page_diagonal() {
    static const double diagonal = [] {
        double largest = 0;
        for (int code = 1; code <= 41; ++code)
            largest = std::max(largest, std::hypot(double(paper_size(code, 1)),
                                                   double(paper_size(code, 0))));
        return largest;
    }();
    return diagonal;
}

namespace {

// Positions reach this many largest-page diagonals either side of the
// origin: further than any part of a page, so nothing that shows moves.
constexpr double kPositionReach = 4;

// NaN as 0 (round_half_even's choice) and the value held to +-limit.
double held(double value, double limit) {
    if (std::isnan(value)) return 0;
    return std::clamp(value, -limit, limit);
}

}  // namespace

int32_t DeviceMapping::size_limit() const {
    const double resolution = std::max(std::abs(double(resolution_x)), std::abs(double(resolution_y)));
    const double scale = std::isfinite(zoom) ? std::fabs(zoom) : 1.0;
    return std::max(1, round_half_even(largest_page_diagonal() * resolution * scale));
}

int32_t DeviceMapping::map_x(double x) const {
    const double reach = kPositionReach * size_limit();
    return saturated_sum(round_half_even(held(x * resolution_x * zoom, reach)), origin_x);
}

int32_t DeviceMapping::map_y(double y) const {
    const double reach = kPositionReach * size_limit();
    return saturated_sum(round_half_even(held(y * resolution_y * zoom, reach)), origin_y);
}

int32_t DeviceMapping::length_x(double inches) const {
    return round_half_even(held(inches * resolution_x * zoom, size_limit()));
}

int32_t DeviceMapping::length_y(double inches) const {
    return round_half_even(held(inches * resolution_y * zoom, size_limit()));
}

int32_t DeviceMapping::pen_width(double points) const {
    return round_half_even(held(points * resolution_x * zoom / 72.0, size_limit()));
}

bool clip_to_square(double reach, double* ax, double* ay, double* bx, double* by) {
    const double dx = *bx - *ax, dy = *by - *ay;
    double enter = 0, leave = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {*ax + reach, reach - *ax, *ay + reach, reach - *ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
    }
    if (enter > leave) return false;
    const double x0 = *ax, y0 = *ay;
    // Rounding can leave an end a hair outside; held, it stays within.
    *ax = held(x0 + enter * dx, reach);
    *ay = held(y0 + enter * dy, reach);
    *bx = held(x0 + leave * dx, reach);
    *by = held(y0 + leave * dy, reach);
    return true;
}

bool DeviceMapping::map_line(double x1, double y1, double x2, double y2, DeviceLine* line) const {
    // In device pixels before the origin, finite, then cut to the square
    // of reach: the part of the line within reach keeps its course, where
    // holding each end alone would turn it.
    const double far = 1e100;  // beyond reach, and small enough to subtract
    double ax = held(x1 * resolution_x * zoom, far), ay = held(y1 * resolution_y * zoom, far);
    double bx = held(x2 * resolution_x * zoom, far), by = held(y2 * resolution_y * zoom, far);
    if (!clip_to_square(kPositionReach * size_limit(), &ax, &ay, &bx, &by)) return false;
    line->x1 = saturated_sum(round_half_even(ax), origin_x);
    line->y1 = saturated_sum(round_half_even(ay), origin_y);
    line->x2 = saturated_sum(round_half_even(bx), origin_x);
    line->y2 = saturated_sum(round_half_even(by), origin_y);
    return true;
}

int32_t font_height(double size_points, int logpixels_y) {
    // Halves to even round the same either side of 0, so negating first
    // gives -round(...) without overflowing at the clamp.
    const double limit = largest_page_diagonal() * std::max(1, std::abs(logpixels_y));
    return round_half_even(held(-double(logpixels_y) * size_points / 72.0, limit));
}

void initialise_display_units(Resolution desktop, const std::string& sdecimal) {
    DisplayUnits& units = display_units();
    units.horizontal = int16_t(valid_resolution(desktop.x));
    units.vertical = int16_t(valid_resolution(desktop.y));
    char first = sdecimal.empty() ? ' ' : sdecimal[0];
    decimal_separator().value = first == ' ' || first == '\0' ? '.' : first;
}

void run_page_geometry(const PageHeader& header, Resolution desktop) {
    PageGeometry& geometry = page_geometry();
    geometry.paper_size = int16_t(valid_paper(header.paper_size));
    geometry.orientation = header.orientation;
    geometry.paper_source = header.paper_source;
    float paper_width = paper_size(geometry.paper_size, 1);
    float paper_height = paper_size(geometry.paper_size, 0);
    int across = valid_resolution(desktop.x);
    int down = valid_resolution(desktop.y);
    DisplayUnits& units = display_units();
    if (header.orientation == 1) {
        // Landscape: the paper turns, and the two resolutions are taken
        // crosswise with it.
        geometry.width = paper_height;
        geometry.height = paper_width;
        units.horizontal = int16_t(down);
        units.vertical = int16_t(across);
    } else {
        geometry.width = paper_width;
        geometry.height = paper_height;
        units.horizontal = int16_t(across);
        units.vertical = int16_t(down);
    }
}

void run_page_geometry(const PageHeader& header) {
    run_page_geometry(header, platform_desktop_resolution());
}

PixelExtent page_extent(double zoom) {
    const PageGeometry& geometry = page_geometry();
    const DisplayUnits& units = display_units();
    PixelExtent extent;
    extent.width = round_half_even(double(geometry.width) * units.horizontal * zoom);
    extent.height = round_half_even(double(geometry.height) * units.vertical * zoom);
    return extent;
}

}  // namespace vell
