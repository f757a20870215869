// Registration of the .vel file type under HKEY_CLASSES_ROOT, so that the
// Windows shell opens documents with this viewer and prints them with it:
//
//   .vel                                      "vell Print Preview Document"
//   vell Print Preview Document               "vell Print Preview Document"
//   vell Print Preview Document\shell\open\command    path + " %1"
//   vell Print Preview Document\shell\print\command   path + " -PA %1"
//
// (the path in quotation marks when it contains a blank).
//
// The procedures are written once over a small table of registry operations,
// so that they run against the real registry (registration_win.cpp) and
// against a recording one in the unit tests.
#pragma once

#include <string>

namespace vell {

constexpr char kExtensionKey[] = ".vel";
constexpr char kProgramId[] = "vell Print Preview Document";
constexpr char kOpenCommandKey[] = "\\shell\\open\\command";
constexpr char kPrintCommandKey[] = "\\shell\\print\\command";

// Text limits of the values as built.
constexpr size_t kExtensionLimit = 9;
constexpr size_t kProgramIdLimit = 49;
constexpr size_t kCommandLimit = 299;

// The messages of the registration switches and of the settings report.
constexpr char kRegisteredMessage[] = "vell documents has been registered";
constexpr char kRegisterFailedMessage[] = "Couldn't register vell documents.";
constexpr char kNotRegisteredMessage[] =
    ".vel extension IS NOT REGISTERED. Run vell.exe -install to register it.";
constexpr char kNoEntryMessage[] = "There is no entry in the registry for the .vel extension.";
constexpr char kQueryFailedMessage[] =
    "Unable to open registry key to check status of .vel extension registration.";
constexpr char kCommandMissing[] = "Command Missing";
constexpr char kUnableToOpenKey[] = "Unable to open key";

// Operations on keys under HKEY_CLASSES_ROOT. Keys are opened with
// create-if-missing semantics; a null key means it could not be opened.
struct RegistryOps {
    void* context = nullptr;
    void* (*open_key)(void* context, const std::string& name) = nullptr;
    // The key's default value; false when it cannot be read.
    bool (*query_default)(void* context, void* key, std::string* value) = nullptr;
    // Sets the key's default value; failures are not reported.
    void (*set_default)(void* context, void* key, const std::string& value) = nullptr;
    void (*close_key)(void* context, void* key) = nullptr;
};

// The program path as the commands hold it: in quotation marks when it
// contains a blank, since Windows would otherwise try "C:\Program.exe" and
// the like first (a program planted there would be run instead).
std::string registered_program_path(const std::string& module_path);

// The values of the two command keys for the viewer at module_path: the
// registered program path, then " %1" or " -PA %1".
std::string open_command_value(const std::string& module_path);
std::string print_command_value(const std::string& module_path);

// 1 when the extension key has a non-blank default value, else 0.
int is_registered(const RegistryOps& reg);

// Writes the four keys in order; stops with 0 at the first key that cannot
// be opened, 1 when all four could be opened.
int register_file_type(const RegistryOps& reg, const std::string& module_path);

// The one message that showing the registry settings displays.
std::string registry_settings_message(const RegistryOps& reg);

// The report made of the program identifier and the two command texts.
std::string registry_report(const std::string& program_id, const std::string& open_text,
                            const std::string& print_text);

// ---- Windows (registration_win.cpp) ------------------------------------
// The operations on the real HKEY_CLASSES_ROOT.
const RegistryOps& windows_registry();

// The three operations as start-up calls them, with the running program's
// module path; show_registry_settings shows its message box.
int is_registered();
int register_file_type();
void show_registry_settings();

}  // namespace vell
