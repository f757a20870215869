// The viewer's keyboard: which key does what, whatever control has the
// focus. Portable: the window passes the virtual-key code, the modifier
// keys and what the focus is on, and runs the action through the existing
// operations (scroll requests, page navigation, the command table, zoom
// steps).
#pragma once

namespace vell {

// Virtual-key codes (as Windows numbers them) that the viewer answers.
namespace vk {
constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;
constexpr int kSpace = 0x20;
constexpr int kPageUp = 0x21;    // VK_PRIOR
constexpr int kPageDown = 0x22;  // VK_NEXT
constexpr int kEnd = 0x23;
constexpr int kHome = 0x24;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kDigit0 = 0x30;
constexpr int kLetterA = 0x41;
constexpr int kLetterC = 0x43;
constexpr int kLetterG = 0x47;
constexpr int kLetterO = 0x4F;
constexpr int kLetterP = 0x50;
constexpr int kLetterS = 0x53;
constexpr int kNumpad0 = 0x60;
constexpr int kAdd = 0x6B;       // the keypad's +
constexpr int kSubtract = 0x6D;  // the keypad's -
constexpr int kOemPlus = 0xBB;   // the "=+" key
constexpr int kOemMinus = 0xBD;  // the "-_" key
}  // namespace vk

enum class KeyAction {
    kNone,          // not the viewer's: the control or the dialog manager has it
    kScreenDown,    // PgDn, Space: a page step down, the next page at the bottom
    kScreenUp,      // PgUp, Shift+Space: a page step up, the previous page at the top
    kLineDown,      // the arrows: a line step
    kLineUp,
    kLineLeft,
    kLineRight,
    kHome,          // the page's top, or the first page when it has no vertical bar
    kEnd,           // the page's bottom, or the last page when it has no vertical bar
    kFirstPage,     // Ctrl+Home
    kLastPage,      // Ctrl+End
    kPrint,         // Ctrl+P
    kSave,          // Ctrl+S
    kJump,          // Ctrl+G
    kZoomIn,        // Ctrl+plus
    kZoomOut,       // Ctrl+minus
    kZoom100,       // Ctrl+0
    kCancel,        // Esc: cancels what is in progress, or closes the viewer
    kApplyZoomBox,  // Enter in the zoom box
    kCopy,          // Ctrl+C
    kSelectAll,     // Ctrl+A
    kOpen,          // Ctrl+O
};

// Where the keyboard focus is.
enum class KeyFocus {
    kViewer,       // the page area, the index box, the window itself
    kZoomEdit,     // the zoom box's edit field: it keeps the keys that edit text
    kIndexBox,     // the index box, its list closed: it keeps the keys that choose
    kDroppedList,  // a combo box with its list open: the list keeps every key
};

struct KeyPress {
    int key = 0;  // virtual-key code
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// The action of a key press. Alt combinations are the menu's; an open list
// keeps every key; the zoom box's edit keeps Space, the arrows, Home and End
// (with any modifiers) and Ctrl+C and Ctrl+A; the index box keeps the
// arrows, Home, End, PgUp and PgDn, with which a drop-down list chooses;
// everything else in the table above is the viewer's wherever the focus is.
KeyAction key_action(const KeyPress& press, KeyFocus focus);

}  // namespace vell
