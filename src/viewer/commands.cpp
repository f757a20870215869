#include "viewer/commands.h"

#include "viewer/window_ids.h"

namespace vell {

Command command_for_id(int id) {
    switch (id) {
    case ids::kMenuClose: case ids::kToolClose: return Command::kClose;
    case ids::kMenuFirst: case ids::kToolFirst: return Command::kFirst;
    case ids::kMenuPrevious: case ids::kToolPrevious: return Command::kPrevious;
    case ids::kMenuNext: case ids::kToolNext: return Command::kNext;
    case ids::kMenuLast: case ids::kToolLast: return Command::kLast;
    case ids::kMenuJump: case ids::kToolJump: return Command::kJump;
    case ids::kMenuPrint: case ids::kToolPrint: return Command::kPrint;
    case ids::kMenuEmail: case ids::kToolEmail: return Command::kEmail;
    case ids::kMenuFax: case ids::kToolFax: return Command::kFax;
    case ids::kMenuSave: case ids::kToolSave: return Command::kSave;
    case ids::kMenuEmailPdf: return Command::kEmailPdf;
    default: return Command::kNone;
    }
}

const char* building_refusal(Command command) {
    switch (command) {
    case Command::kPrint: return "You can't print until the document has finished building.";
    case Command::kEmail:
    case Command::kEmailPdf: return "You can't e-mail until the document has finished building.";
    case Command::kFax: return "You can't fax until the document has finished building.";
    case Command::kSave: return "You can't save this document until it has finished building.";
    default: return nullptr;
    }
}

}  // namespace vell
