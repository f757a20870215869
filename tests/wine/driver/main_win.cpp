// vtdriver's entry point: one subcommand per invocation.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver.h"
#include "viewer_driver.h"

namespace vtdriver {

Options::Options(const Args& args, const std::vector<std::string>& with_value) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            bool takes_value = false;
            for (const std::string& name : with_value) takes_value |= name == a;
            if (takes_value && i + 1 < args.size()) {
                values.emplace_back(a, args[++i]);
            } else {
                flags.push_back(a);
            }
        } else {
            positional.push_back(a);
        }
    }
}

bool Options::has(const std::string& flag) const {
    for (const std::string& f : flags)
        if (f == flag) return true;
    return false;
}

// The last occurrence wins, so a caller can override a default it put first.
std::string Options::get(const std::string& name, const std::string& fallback) const {
    std::string value = fallback;
    for (const auto& v : values)
        if (v.first == name) value = v.second;
    return value;
}

double Options::seconds(const std::string& name, double fallback) const {
    std::string v = get(name, "");
    return v.empty() ? fallback : std::atof(v.c_str());
}

std::string printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

}  // namespace vtdriver

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vtdriver SUBCOMMAND ...\n"
                 "  msgbox [--timeout S] [--press ok|none]\n"
                 "  window --title T [--timeout S] [--controls] [--set-edit ID=TEXT]\n"
                 "         [--ok|--cancel|--close]\n"
                 "  reg-query KEY | reg-delete KEY | reg-set KEY VALUE   (HKEY_CLASSES_ROOT)\n"
                 "  run [--timeout S] [--lock FILE] [--cwd DIR] [--unquoted] EXE COMMAND-TAIL\n"
                 "  shell [--timeout S] VERB FILE   ShellExecuteExA, waits for the program\n"
                 "  make-doc KIND PATH   kinds:");
    for (const std::string& kind : vtdriver::test_document_kinds())
        std::fprintf(stderr, " %s", kind.c_str());
    std::fprintf(stderr, "\n  make-sfx KIND STUB OUTPUT   a self-extracting viewer\n");
    std::fprintf(stderr, "  viewer ACTION ...   operate vell's viewer window (viewer help lists them)\n");
    std::fprintf(stderr, "  dialog --title T [--timeout S] [--set ID=TEXT] [--keys ID=TEXT] [--limit ID]\n"
                         "         [--press ID]\n");
    std::fprintf(stderr, "  area-colour --title T --id ID --colour RRGGBB   pixels of a colour shown\n");
    std::fprintf(stderr, "  print-dialog [--timeout S] [--printer NAME] [--from N --to N] [--copies N]\n"
                         "         --ok|--cancel\n");
    std::fprintf(stderr, "  printers   win.ini's default printer entry and every printer\n");
    std::fprintf(stderr, "  fault make KIND PATH | page-added POSITION | env NAME=VALUE... run ...\n");
    std::fprintf(stderr, "  find make KIND PATH | mark --title T | wait-status-prefix TEXT\n");
    std::fprintf(stderr, "  file-version PATH   product name, file version and description\n");
    std::fprintf(stderr, "  select make table PATH | clipboard | clear-clipboard\n");
    std::fprintf(stderr, "  crash   end by an access violation (the rig's crash check)\n");
    return 64;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain line feeds on stdout: the test scripts compare the output.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return usage();
    std::string command = argv[1];
    vtdriver::Args args(argv + 2, argv + argc);
    int status;
    if (command == "msgbox")
        status = vtdriver::cmd_msgbox(args);
    else if (command == "window")
        status = vtdriver::cmd_window(args);
    else if (command == "reg-query")
        status = vtdriver::cmd_reg_query(args);
    else if (command == "reg-delete")
        status = vtdriver::cmd_reg_delete(args);
    else if (command == "reg-set")
        status = vtdriver::cmd_reg_set(args);
    else if (command == "run")
        status = vtdriver::cmd_run(args);
    else if (command == "make-doc")
        status = vtdriver::cmd_make_doc(args);
    else if (command == "make-sfx")
        status = vtdriver::cmd_make_sfx(args);
    else if (command == "make-send-doc")
        status = vtdriver::cmd_make_send_doc(args);
    else if (command == "dialog-steps")
        status = vtdriver::cmd_dialog_steps(args);
    else if (command == "dialog")
        status = vtdriver::cmd_dialog(args);
    else if (command == "area-colour")
        status = vtdriver::cmd_area_colour(args);
    else if (command == "cursor")
        status = vtdriver::cmd_cursor(args);
    else if (command == "print-dialog")
        status = vtdriver::cmd_print_dialog(args);
    else if (command == "printers")
        status = vtdriver::cmd_printers(args);
    else if (command == "viewer")
        status = vtdriver::cmd_viewer(args);
    else if (command == "make-viewer-doc")
        status = vtdriver::cmd_make_viewer_doc(args);
    else if (command == "fault")
        status = vtdriver::cmd_fault(args);
    else if (command == "find")
        status = vtdriver::cmd_find(args);
    else if (command == "select")
        status = vtdriver::cmd_select(args);
    else if (command == "shell")
        status = vtdriver::cmd_shell(args);
    else if (command == "file-version")
        status = vtdriver::cmd_file_version(args);
    else if (command == "crash")
        status = vtdriver::cmd_crash(args);
    else
        return usage();
    std::fflush(stdout);
    return status;
}
