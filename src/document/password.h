// Asking for the password of a protected document.
#pragma once

namespace vell {

// Shows the password dialog modally, owned by no window, and returns true
// when the typed password deciphers the stored one.
bool ask_for_password();

}  // namespace vell
