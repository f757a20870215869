// The password dialog. Not built yet: a protected document is refused with
// a clear message rather than shown without its password.
#include "document/password.h"

#include "viewer/message_box.h"

namespace vell {

bool ask_for_password() {
    show_message("Password-protected documents cannot be opened by this version of vell yet.");
    return false;
}

}  // namespace vell
