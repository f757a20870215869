// The system's only road to the mail system: Simple MAPI in mapi32.dll,
// loaded at run time from the Windows system directory and released after
// each e-mail or fax. Entry points are looked up by name on every call.
// Windows only (simple_mapi_win.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "send/mail_message.h"

namespace vell {

// Simple MAPI's MAPI_E_NOT_SUPPORTED: what sending reports when the library
// is not loaded or offers no MAPISendMail, so that nothing unsent ever
// passes for sent.
constexpr uint32_t kMapiNotSupported = 26;

// Loads mapi32.dll when it is not loaded yet; true when it is loaded.
bool load_mapi_library();

// MAPILogon with the trimmed profile name and password, the logon dialog
// allowed and a new session: the session handle, 0 on any failure.
uintptr_t mapi_logon(const std::string& profile, const std::string& password);

// MAPISendMail of the composed message, with the mail system's send dialog
// when show_dialog is set: 0 sent, 1 cancelled by the user, anything else a
// failure code.
uint32_t mapi_send(uintptr_t session, const MailMessage& message, bool show_dialog);

// MAPILogoff of the session; nothing when the library or the entry point is
// missing.
void mapi_logoff(uintptr_t session);

// Frees the library when it is loaded.
void release_mapi_library();

// Releases the library when it goes out of scope, so every way out of an
// e-mail or fax leaves it unloaded.
class MapiLibraryUse {
public:
    MapiLibraryUse() = default;
    ~MapiLibraryUse() { release_mapi_library(); }
    MapiLibraryUse(const MapiLibraryUse&) = delete;
    MapiLibraryUse& operator=(const MapiLibraryUse&) = delete;
};

// The local date and time now, for the message's date text.
LocalTime local_time_now();

}  // namespace vell
