#include "viewer/commands_win.h"

#include "document/document.h"
#include "print/print_job.h"
#include "send/send.h"
#include "ui_text/message_box.h"
#include "viewer/commands.h"
#include "viewer/jump_dialog_win.h"
#include "viewer/navigation.h"
#include "viewer/page_image_win.h"
#include "viewer/window_ids.h"
#include "viewer/window_refresh_win.h"

namespace vell {

namespace {

// Print, e-mail, fax and save wait for a building document to be complete.
void run_output_command(Command command) {
    if (the_document().building) {
        show_message(building_refusal(command));
        return;
    }
    switch (command) {
    case Command::kPrint: print_document(false); break;
    case Command::kEmail: send_by_email(); break;
    case Command::kFax: send_by_fax(); break;
    case Command::kSave: save_document(); break;
    default: break;
    }
}

void run_command(HWND window, Command command) {
    Navigation& nav = navigation();
    switch (command) {
    case Command::kClose: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case Command::kFirst: refresh_window(first_page(nav)); break;
    case Command::kPrevious: refresh_window(previous_page(nav)); break;
    case Command::kNext: refresh_window(next_page(nav)); break;
    case Command::kLast: refresh_window(last_page(nav)); break;
    case Command::kJump: refresh_window(run_jump_dialog(window)); break;
    case Command::kPrint:
    case Command::kEmail:
    case Command::kFax:
    case Command::kSave: run_output_command(command); break;
    case Command::kNone: break;
    }
}

}  // namespace

void on_command(HWND window, int id, int notification) {
    if (id == ids::kZoomBox) {
        // Redrawing applies the zoom box (the renderer fits the page area).
        if (notification == CBN_SELCHANGE || notification == CBN_KILLFOCUS) redraw_page();
        return;
    }
    if (id == ids::kIndexBox) {
        on_index_box(notification);
        return;
    }
    run_command(window, command_for_id(id));
}

}  // namespace vell
