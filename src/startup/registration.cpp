#include "startup/registration.h"

#include "document/text.h"

namespace vell {

namespace {

void* open(const RegistryOps& reg, const std::string& name) {
    return reg.open_key(reg.context, name);
}

void set_and_close(const RegistryOps& reg, void* key, const std::string& value) {
    reg.set_default(reg.context, key, value);
    reg.close_key(reg.context, key);
}

// The text of a command key for the settings report.
std::string command_text(const RegistryOps& reg, const std::string& name) {
    void* key = open(reg, name);
    if (!key) return kCommandMissing;
    std::string value;
    std::string text = reg.query_default(reg.context, key, &value) ? value : kUnableToOpenKey;
    reg.close_key(reg.context, key);
    return text;
}

}  // namespace

std::string registered_program_path(const std::string& module_path) {
    if (module_path.find(' ') == std::string::npos) return module_path;
    return "\"" + module_path + "\"";
}

std::string open_command_value(const std::string& module_path) {
    return cut_text(registered_program_path(module_path) + " %1", kCommandLimit);
}

std::string print_command_value(const std::string& module_path) {
    return cut_text(registered_program_path(module_path) + " -PA %1", kCommandLimit);
}

int is_registered(const RegistryOps& reg) {
    void* key = open(reg, kExtensionKey);
    if (!key) return 0;
    std::string value;
    int result = reg.query_default(reg.context, key, &value) && !trim(value).empty() ? 1 : 0;
    reg.close_key(reg.context, key);
    return result;
}

int register_file_type(const RegistryOps& reg, const std::string& module_path) {
    const std::string extension = cut_text(kExtensionKey, kExtensionLimit);
    const std::string program_id = cut_text(kProgramId, kProgramIdLimit);

    void* key = open(reg, extension);
    if (!key) return 0;
    set_and_close(reg, key, program_id);

    key = open(reg, program_id);
    if (!key) return 0;
    set_and_close(reg, key, program_id);

    key = open(reg, trim(program_id) + kOpenCommandKey);
    if (!key) return 0;
    set_and_close(reg, key, open_command_value(module_path));

    key = open(reg, trim(program_id) + kPrintCommandKey);
    if (!key) return 0;
    set_and_close(reg, key, print_command_value(module_path));
    return 1;
}

std::string registry_report(const std::string& program_id, const std::string& open_text,
                            const std::string& print_text) {
    return std::string("Registry Settings for the .vel extension") + "\r\r" +
           "Program Name: " + program_id + "\r" + "Open: " + open_text + "\r" +
           "Print: " + print_text;
}

std::string registry_settings_message(const RegistryOps& reg) {
    void* key = open(reg, kExtensionKey);
    if (!key) return kNoEntryMessage;
    std::string program_id;
    bool read = reg.query_default(reg.context, key, &program_id);
    reg.close_key(reg.context, key);
    if (!read) return kQueryFailedMessage;
    if (trim(program_id).empty()) return kNoEntryMessage;

    // The command keys are looked up under the identifier exactly as read.
    std::string open_text = command_text(reg, program_id + kOpenCommandKey);
    std::string print_text = command_text(reg, program_id + kPrintCommandKey);
    return registry_report(program_id, open_text, print_text);
}

}  // namespace vell
