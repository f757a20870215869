#include "startup/command_line.h"

#include "document/text.h"

namespace vell {

namespace {

// One prefix switch: its text including the blank that must follow it, in
// upper case, and what it requests. The "-" form is tested beside the "/".
struct PrefixSwitch {
    const char* text;  // "/P " and so on; 3 or 4 characters
    bool print;
    bool no_dialog_print;
    bool fax;
    bool email;
    bool building;
};

// The order matters: "/P " is tested before "/PA ", which cannot match it
// anyway because the blank is part of the comparison.
const PrefixSwitch kPrefixSwitches[] = {
    {"/P ", true, false, false, false, false},
    {"/PA ", true, true, false, false, false},
    {"/F ", false, false, true, false, false},
    {"/E ", false, false, false, true, false},
    {"/BV ", false, false, false, false, true},
};

bool starts_with_switch(const std::string& upper_text, const std::string& slash_form) {
    if (upper_text.size() < slash_form.size()) return false;
    std::string head = upper_text.substr(0, slash_form.size());
    std::string dash_form = "-" + slash_form.substr(1);
    return head == slash_form || head == dash_form;
}

bool is_separator(char c) { return c == ' ' || c == '\t'; }

// Where an unquoted program name ends: after the program's own path when
// the line starts with it (Windows started the program from a line such as
// C:\Program Files\vell\vell.exe C:\report.vel), else at the first blank.
size_t unquoted_program_end(const std::string& line, const std::string& module_path) {
    if (!module_path.empty()) {
        const std::string upper_line = to_upper(line);
        const std::string upper_path = to_upper(module_path);
        std::string forms[2] = {upper_path, std::string()};
        if (upper_path.size() > 4 && upper_path.compare(upper_path.size() - 4, 4, ".EXE") == 0)
            forms[1] = upper_path.substr(0, upper_path.size() - 4);
        for (const std::string& form : forms) {
            if (form.empty() || upper_line.compare(0, form.size(), form) != 0) continue;
            if (form.size() == line.size() || is_separator(line[form.size()])) return form.size();
        }
    }
    size_t i = 0;
    while (i < line.size() && !is_separator(line[i])) ++i;
    return i;
}

}  // namespace

std::string command_text_from_command_line(const std::string& command_line,
                                           const std::string& module_path) {
    size_t i = 0;
    if (!command_line.empty() && command_line[0] == '"') {
        size_t close = command_line.find('"', 1);
        i = close == std::string::npos ? command_line.size() : close + 1;
    } else {
        i = unquoted_program_end(command_line, module_path);
    }
    // The separator after the name may be blanks or tabs, as Windows takes it.
    while (i < command_line.size() && is_separator(command_line[i])) ++i;
    return trim(command_line.substr(i));
}

StartAction whole_line_switch(const std::string& command_text) {
    std::string upper = to_upper(command_text);
    if (upper.empty() || (upper[0] != '-' && upper[0] != '/')) return StartAction::kOpenDocument;
    std::string name = upper.substr(1);
    if (name == "INSTALLVERBOSE") return StartAction::kInstallVerbose;
    if (name == "INSTALL") return StartAction::kInstall;
    if (name == "SHOWREG") return StartAction::kShowRegistry;
    return StartAction::kOpenDocument;
}

StartRequest apply_prefix_switches(const std::string& command_text, bool self_extracting) {
    StartRequest request;
    request.action = StartAction::kOpenDocument;
    std::string text = command_text;
    std::string upper = to_upper(text);
    for (const PrefixSwitch& s : kPrefixSwitches) {
        std::string form = s.text;
        if (!starts_with_switch(upper, form)) continue;
        text = trim(text.substr(form.size()));
        request.print = s.print;
        request.no_dialog_print = s.no_dialog_print;
        // A self-extracting viewer carries a document that must not be sent
        // on from the command line; its switch is still taken off the path.
        request.fax = s.fax && !self_extracting;
        request.email = s.email && !self_extracting;
        request.building = s.building;
        break;
    }
    request.path = trim(text);
    return request;
}

StartRequest interpret_command_text(const std::string& command_text, int32_t base,
                                    const std::string& module_path) {
    std::string text = trim(command_text);
    if (text.empty() && base == 0) {
        StartRequest request;
        request.action = StartAction::kOpenDialog;
        return request;
    }
    StartAction whole = whole_line_switch(text);
    if (whole != StartAction::kOpenDocument) {
        StartRequest request;
        request.action = whole;
        return request;
    }
    if (base != 0) text = text + " " + module_path;
    return apply_prefix_switches(text, base != 0);
}

}  // namespace vell
