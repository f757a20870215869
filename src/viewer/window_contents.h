// What the viewer window is made of, decided from the document: the toolbar
// buttons, the menu commands it removes, and the zoom box's entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vell {

struct Document;

// One toolbar entry: a button with its command id and image, or a separator
// (command id 0).
struct ToolbarEntry {
    int command_id = 0;
    int image = 0;
};

// Close, the five navigation buttons and Print always; E-Mail, Fax and Save
// only when the header's allowed field is not 0. Separators after the
// leading one, after Close and after Jump: 10 to 13 entries.
std::vector<ToolbarEntry> toolbar_entries(const Document& doc);

// The menu commands to delete: none while building; E-Mail and E-Mail as
// PDF when e-mail is not allowed, Fax when fax is not allowed, Save when save is not allowed or
// the document lies inside a self-extracting viewer.
std::vector<int> pruned_menu_commands(const Document& doc);

// The zoom box's entries in order: label 12, label 11, "75%", "100%", "125%".
std::vector<std::string> zoom_box_entries();

// The zoom box entry the header's initial zoom code selects: 0x80 fit
// window (1), 0x100 75 % (2), 0x200 100 % (3), 0x400 125 % (4), anything
// else fit width (0).
int initial_zoom_entry(int32_t code);

}  // namespace vell
