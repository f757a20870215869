#include "viewer/menu_win.h"

#include "document/document.h"
#include "ui_text/labels.h"
#include "ui_text/window_text_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_contents.h"
#include "viewer/window_ids.h"

namespace vell {

namespace {

// Labels shown by menu commands, in the order set-up applies them.
const int kCommandLabels[] = {9, 3, 4, 5, 6, 7, 8, 24, 25, 26};

HMENU attached_menu() {
    const ViewerResources& resources = viewer_resources();
    return resources.menu_attached ? resources.menu : nullptr;
}

void popup_text(void*, int position, const std::string& text) {
    HMENU menu = attached_menu();
    if (!menu) return;
    set_menu_text(menu, UINT(position), true, text);
    DrawMenuBar(viewer_window().window);
}

void command_text(void*, int command_id, const std::string& text) {
    HMENU menu = attached_menu();
    if (menu) set_menu_text(menu, UINT(command_id), false, text);
}

void zoom_label_text(void*, const std::string& text) {
    HWND label = viewer_window().zoom_label;
    if (label) set_window_text(label, text);
}

}  // namespace

void attach_menu(HWND window) {
    ViewerResources& resources = viewer_resources();
    if (!resources.menu) return;
    if (!SetMenu(window, resources.menu)) return;
    resources.menu_attached = true;
    set_menu_text(resources.menu, 0, true, window_label(1));
    set_menu_text(resources.menu, 1, true, window_label(2));
    for (int label : kCommandLabels)
        set_menu_text(resources.menu, UINT(label_menu_command(label)), false, window_label(label));
    prune_menu(window);
}

void prune_menu(HWND window) {
    HMENU menu = attached_menu();
    if (!menu) return;
    for (int command : pruned_menu_commands(the_document()))
        DeleteMenu(menu, UINT(command), MF_BYCOMMAND);
    DrawMenuBar(window);
}

void plug_label_effects() {
    LabelSink sink;
    sink.menu_popup_text = popup_text;
    sink.menu_command_text = command_text;
    sink.zoom_label_text = zoom_label_text;
    set_label_sink(sink);
}

void unplug_label_effects() { set_label_sink(LabelSink{}); }

}  // namespace vell
