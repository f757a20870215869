// The command line of vell.exe: what the text after the program's name asks
// for. Pure text processing, so that every rule is tested without Windows.
//
// Whole-line switches (-INSTALL, -INSTALLVERBOSE, -SHOWREG, also with "/")
// must be the entire command text. Prefix switches (/P, /PA, /F, /E, /BV, also
// with "-") must be followed by one blank and the document path; only the
// first matching one is applied. Everything else is the document path, with
// blanks inside it kept and quotation marks left alone.
#pragma once

#include <cstdint>
#include <string>

namespace vell {

enum class StartAction {
    kOpenDialog,      // nothing named and no document of our own: ask the user
    kInstall,         // -INSTALL: register silently
    kInstallVerbose,  // -INSTALLVERBOSE: register and report
    kShowRegistry,    // -SHOWREG: show the registry settings
    kOpenDocument,    // open the document at path
};

// What the command line asks for. At most one of print, e-mail and fax is set.
struct StartRequest {
    StartAction action = StartAction::kOpenDocument;
    std::string path;             // the document path for kOpenDocument
    bool print = false;           // /P and /PA
    bool no_dialog_print = false; // /PA: every page, default printer, no dialog
    bool email = false;           // /E, never for a self-extracting viewer
    bool fax = false;             // /F, never for a self-extracting viewer
    bool building = false;        // /BV: the generator is still writing it
};

// The command line without the program's name, as Windows hands it to a
// program: a quoted name runs to its closing quotation mark. An unquoted
// name runs to the first blank or tab, unless the line starts with the
// program's own path (module_path, with or without ".exe", letter case
// ignored) followed by a blank, a tab or the end: a path with blanks, as an
// unquoted registered command hands it on. The blanks and tabs after the
// name are skipped and the result is trimmed of blanks at both ends.
std::string command_text_from_command_line(const std::string& command_line,
                                           const std::string& module_path = std::string());

// The whole-line switch that the command text (already trimmed) is, compared
// without regard to letter case; kOpenDocument when it is none of them.
StartAction whole_line_switch(const std::string& command_text);

// The prefix switches, in their fixed order; the first one that matches is
// cut off and its flags set. self_extracting suppresses the e-mail and fax
// requests (their switch is still cut off). The path is the rest, trimmed.
StartRequest apply_prefix_switches(const std::string& command_text, bool self_extracting);

// The whole interpretation of a trimmed command text for a program whose
// self-extracting check gave base: the open dialog when nothing is named and
// the program carries no document, a whole-line switch, or a document to
// open. A self-extracting viewer (base != 0) gets its own module path
// appended after one blank, so that it opens itself.
StartRequest interpret_command_text(const std::string& command_text, int32_t base,
                                    const std::string& module_path);

}  // namespace vell
