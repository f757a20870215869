// The jump dialog (DLG_JUMP): asks for a page number and makes it current.
// Windows only: included by _win.cpp files.
#pragma once

#include <windows.h>

namespace vell {

// Control ids of DLG_JUMP.
namespace jump_ids {
constexpr int kPageEdit = 101;
constexpr int kOk = 102;
constexpr int kCancel = 103;
constexpr int kPrompt = 104;
}  // namespace jump_ids

// Jump to page (commands 707 and 756): runs the dialog modally, owned by
// owner; an accepted number becomes navigation().current_page. Returns the
// Refresh flags of finish_jump: kRefreshNone when the page did not change.
unsigned run_jump_dialog(HWND owner);

}  // namespace vell

// The dialog procedure, exported from vell.exe under its plain name.
extern "C" __declspec(dllexport) INT_PTR CALLBACK JUMPDLGPROC(HWND dialog, UINT message,
                                                              WPARAM wparam, LPARAM lparam);
