// The drawing state of one render: kept from one record to the next within
// a page and built afresh for every page.
#pragma once

#include <cstdint>
#include <string>

#include "render/picture_budget.h"
#include "render/surface.h"
#include "render/units.h"

namespace vell {

// What the latest font record set; rotated text and page numbers make
// their fonts from it.
struct FontSettings {
    std::string face = "Arial";
    int16_t style = 0;
    float size = 0.0f;    // points; 0 is the device's default height
    uint32_t colour = 0;  // COLORREF
};

struct RenderState {
    Surface* surface = nullptr;
    DeviceMapping mapping;
    bool printing = false;
    int16_t page_number = 0;  // the page being rendered, for page-number records
    int32_t page_count = 0;   // the document's page count, for page totals
    char decimal_separator = '.';
    PictureBudget pictures;  // what the page's pictures may still load

    FontSettings font;
    // Objects the interpreter created and has selected, and the ones they
    // replaced (put back at the end of the page).
    SurfaceHandle current_font = 0;
    SurfaceHandle caller_font = 0;
    SurfaceHandle pen = 0;
    SurfaceHandle kept_pen = 0;
    SurfaceHandle brush = 0;
    SurfaceHandle kept_brush = 0;
};

}  // namespace vell
