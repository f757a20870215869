// vtdriver: the Wine test rig's helper program. It waits for and operates the
// windows that vell.exe shows, reads and writes the registry of the test
// prefix, starts programs with an exact command line, and writes test
// documents. Every wait has a timeout; a subcommand that fails prints why on
// stderr and exits with a non-zero status.
#pragma once

#include <string>
#include <vector>

namespace vtdriver {

// The arguments after the subcommand name.
using Args = std::vector<std::string>;

// Reads "--name value" options; the rest stay in positional, in order.
struct Options {
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> flags;
    std::vector<std::string> positional;

    // Names listed in with_value take the next argument as their value.
    Options(const Args& args, const std::vector<std::string>& with_value);
    bool has(const std::string& flag) const;
    std::string get(const std::string& name, const std::string& fallback) const;
    double seconds(const std::string& name, double fallback) const;
};

// Text as the driver prints it: carriage returns as "\r", line feeds as "\n".
std::string printable(const std::string& text);

int cmd_msgbox(const Args& args);
int cmd_window(const Args& args);
int cmd_reg_query(const Args& args);
int cmd_reg_delete(const Args& args);
int cmd_reg_set(const Args& args);
// file-version PATH: the version resource's numbers and texts.
int cmd_file_version(const Args& args);
int cmd_run(const Args& args);
int cmd_make_doc(const Args& args);
int cmd_make_sfx(const Args& args);
int cmd_make_send_doc(const Args& args);  // send_documents.cpp
int cmd_dialog_steps(const Args& args);   // dialog_steps_win.cpp
int cmd_dialog(const Args& args);
int cmd_area_colour(const Args& args);  // screen_colour_win.cpp
int cmd_cursor(const Args& args);       // screen_colour_win.cpp
int cmd_print_dialog(const Args& args);
int cmd_printers(const Args& args);
int cmd_fault(const Args& args);  // fault_documents.cpp
int cmd_shell(const Args& args);  // shell_win.cpp
// Waits for a started program (a HANDLE) and prints "exit=N"; at the
// timeout ends it and prints "timeout". 0, or 2 after a timeout.
int wait_for_program(void* process, const std::string& name, double timeout);  // process_win.cpp
int cmd_crash(const Args& args);  // crash_win.cpp
int cmd_select(const Args& args);  // select_win.cpp

// Writes a test document of the named kind; false for an unknown kind or
// when the file cannot be written. Portable (documents.cpp).
bool make_test_document(const std::string& kind, const std::string& path, std::string* error);
// The kinds make_test_document knows, for the usage text.
std::vector<std::string> test_document_kinds();
// The print cases' kinds, which make_test_document also knows
// (print_documents.cpp): false for a kind that is not one of them.
bool print_document_bytes(const std::string& kind, std::vector<unsigned char>* bytes);
std::vector<std::string> print_document_kinds();
// The password cases' kinds (documents_password.cpp), likewise.
bool password_document_bytes(const std::string& kind, std::vector<unsigned char>* bytes);
std::vector<std::string> password_document_kinds();
// The page image cases' kinds (documents_page_image.cpp), likewise.
bool page_image_document_bytes(const std::string& kind, std::vector<unsigned char>* bytes);
std::vector<std::string> page_image_document_kinds();

}  // namespace vtdriver
