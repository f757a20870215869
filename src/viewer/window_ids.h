// The ids of the viewer window's controls, menu commands and toolbar
// buttons (resources/main_window.rc uses the same numbers).
#pragma once

namespace vell {
namespace ids {

// Controls of DLG_MAIN and the controls made at set-up.
constexpr int kZoomLabel = 106;
constexpr int kZoomBox = 107;
constexpr int kPageArea = 108;
constexpr int kVerticalBar = 109;
constexpr int kHorizontalBar = 110;
constexpr int kStatusBar = 111;
constexpr int kToolbar = 112;
constexpr int kIndexBox = 113;

// Menu commands.
constexpr int kMenuPrint = 701;
constexpr int kMenuClose = 702;
constexpr int kMenuFirst = 703;
constexpr int kMenuPrevious = 704;
constexpr int kMenuNext = 705;
constexpr int kMenuLast = 706;
constexpr int kMenuJump = 707;
constexpr int kMenuEmail = 708;
constexpr int kMenuFax = 709;
constexpr int kMenuSave = 710;
constexpr int kMenuEmailPdf = 711;  // E-Mail as PDF: menu only
// File > Open and the Edit menu: texts of the program's own, not labels.
constexpr int kMenuOpen = 712;
constexpr int kMenuCopy = 713;
constexpr int kMenuSelectAll = 714;

// Toolbar buttons.
constexpr int kToolClose = 751;
constexpr int kToolFirst = 752;
constexpr int kToolPrevious = 753;
constexpr int kToolNext = 754;
constexpr int kToolLast = 755;
constexpr int kToolJump = 756;
constexpr int kToolPrint = 757;
constexpr int kToolEmail = 758;
constexpr int kToolFax = 759;
constexpr int kToolSave = 760;

// Resources looked up by name or number.
constexpr char kMainDialog[] = "DLG_MAIN";
constexpr char kMainMenu[] = "MAINMENU";
constexpr char kMagnifierCursor[] = "MAGNIFY";
constexpr char kIcon[] = "VELL_ICON";
constexpr int kToolbarBitmap = 501;

}  // namespace ids
}  // namespace vell
