#include "viewer/window_contents.h"

#include "document/document.h"
#include "document/format.h"
#include "ui_text/labels.h"
#include "viewer/window_ids.h"

namespace vell {

std::vector<ToolbarEntry> toolbar_entries(const Document& doc) {
    const ToolbarEntry separator;
    std::vector<ToolbarEntry> entries = {
        separator,
        {ids::kToolClose, 0},
        separator,
        {ids::kToolFirst, 1},
        {ids::kToolPrevious, 2},
        {ids::kToolNext, 3},
        {ids::kToolLast, 4},
        {ids::kToolJump, 5},
        separator,
        {ids::kToolPrint, 6},
    };
    // The optional buttons follow the header at creation; the toolbar is
    // never rebuilt, so a building document keeps what it started with.
    if (header_i16(doc, hdr::kEmailAllowed) != 0) entries.push_back({ids::kToolEmail, 7});
    if (header_i16(doc, hdr::kFaxAllowed) != 0) entries.push_back({ids::kToolFax, 8});
    if (header_i16(doc, hdr::kSaveAllowed) != 0) entries.push_back({ids::kToolSave, 9});
    return entries;
}

std::vector<int> pruned_menu_commands(const Document& doc) {
    std::vector<int> commands;
    if (doc.building) return commands;
    if (header_i16(doc, hdr::kEmailAllowed) == 0) {
        commands.push_back(ids::kMenuEmail);
        commands.push_back(ids::kMenuEmailPdf);
    }
    if (header_i16(doc, hdr::kFaxAllowed) == 0) commands.push_back(ids::kMenuFax);
    if (header_i16(doc, hdr::kSaveAllowed) == 0 || doc.base != 0)
        commands.push_back(ids::kMenuSave);
    return commands;
}

std::vector<std::string> zoom_box_entries() {
    return {window_label(12), window_label(11), "75%", "100%", "125%"};
}

int initial_zoom_entry(int32_t code) {
    switch (code) {
    case kZoomFitWindow: return 1;
    case kZoom75: return 2;
    case kZoom100: return 3;
    case kZoom125: return 4;
    default: return 0;
    }
}

}  // namespace vell
