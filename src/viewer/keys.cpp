#include "viewer/keys.h"

namespace vell {

namespace {

// Keys that move the caret or type a blank in an edit field.
bool edits_text(int key) {
    switch (key) {
    case vk::kSpace: case vk::kLeft: case vk::kRight: case vk::kUp: case vk::kDown:
    case vk::kHome: case vk::kEnd:
        return true;
    default:
        return false;
    }
}

// Keys with which a closed drop-down list chooses an item.
bool chooses_item(int key) {
    switch (key) {
    case vk::kLeft: case vk::kRight: case vk::kUp: case vk::kDown:
    case vk::kHome: case vk::kEnd: case vk::kPageUp: case vk::kPageDown:
        return true;
    default:
        return false;
    }
}

KeyAction ctrl_action(int key) {
    switch (key) {
    case vk::kHome: return KeyAction::kFirstPage;
    case vk::kEnd: return KeyAction::kLastPage;
    case vk::kLetterP: return KeyAction::kPrint;
    case vk::kLetterS: return KeyAction::kSave;
    case vk::kLetterG: return KeyAction::kJump;
    case vk::kLetterC: return KeyAction::kCopy;
    case vk::kLetterA: return KeyAction::kSelectAll;
    case vk::kLetterO: return KeyAction::kOpen;
    case vk::kOemPlus: case vk::kAdd: return KeyAction::kZoomIn;
    case vk::kOemMinus: case vk::kSubtract: return KeyAction::kZoomOut;
    case vk::kDigit0: case vk::kNumpad0: return KeyAction::kZoom100;
    default: return KeyAction::kNone;
    }
}

KeyAction plain_action(int key, bool shift) {
    switch (key) {
    case vk::kPageDown: return KeyAction::kScreenDown;
    case vk::kPageUp: return KeyAction::kScreenUp;
    case vk::kSpace: return shift ? KeyAction::kScreenUp : KeyAction::kScreenDown;
    case vk::kDown: return KeyAction::kLineDown;
    case vk::kUp: return KeyAction::kLineUp;
    case vk::kLeft: return KeyAction::kLineLeft;
    case vk::kRight: return KeyAction::kLineRight;
    case vk::kHome: return KeyAction::kHome;
    case vk::kEnd: return KeyAction::kEnd;
    case vk::kEscape: return KeyAction::kCancel;
    default: return KeyAction::kNone;
    }
}

}  // namespace

KeyAction key_action(const KeyPress& press, KeyFocus focus) {
    if (press.alt || focus == KeyFocus::kDroppedList) return KeyAction::kNone;
    if (focus == KeyFocus::kZoomEdit) {
        if (edits_text(press.key)) return KeyAction::kNone;
        // Copying and selecting the typed text.
        if (press.ctrl && (press.key == vk::kLetterC || press.key == vk::kLetterA))
            return KeyAction::kNone;
        if (press.key == vk::kReturn && !press.ctrl) return KeyAction::kApplyZoomBox;
    }
    if (focus == KeyFocus::kIndexBox && !press.ctrl && chooses_item(press.key))
        return KeyAction::kNone;
    return press.ctrl ? ctrl_action(press.key) : plain_action(press.key, press.shift);
}

}  // namespace vell
