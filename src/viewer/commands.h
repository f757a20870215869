// The viewer window's command table: menu ids 701..710 and toolbar ids
// 751..760 share one handler per command.
#pragma once

namespace vell {

enum class Command {
    kNone,  // not a command of the table
    kClose,
    kFirst,
    kPrevious,
    kNext,
    kLast,
    kJump,
    kPrint,
    kEmail,
    kFax,
    kSave,
    kEmailPdf,
};

// The command of a menu or toolbar id; kNone for any other id.
Command command_for_id(int id);

// What a command answers while the document is still building: print,
// e-mail, fax and save refuse with their message; null for the commands
// that work while building.
const char* building_refusal(Command command);

}  // namespace vell
