// velldump: describes a vell document, or the document a self-extracting
// viewer carries, as JSON in the form vellmake reads.
//
// Exit status: 0 when the document looks sound, 2 when the description lists
// problems (a damaged or foreign file; it is still described as far as it
// can be read), 1 when the file cannot be opened or the call is wrong.
#include <cstdio>
#include <string>

#include "document_dump.h"
#include "json_text.h"
#include "vell_version.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::puts("velldump " VELL_VERSION);
        return 0;
    }
    if (argc != 2 || std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help") {
        std::fputs("usage: velldump file.vel|file.exe\n"
                   "       velldump --help | --version\n"
                   "Prints the document as JSON; vellmake turns that JSON back into the document.\n",
                   argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 1;
    }
    vell::DumpResult result = vell::dump_document(argv[1]);
    if (!result.opened) {
        std::fprintf(stderr, "velldump: cannot open %s\n", argv[1]);
        return 1;
    }
#ifdef _WIN32
    // The same bytes on every platform: no carriage returns added.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::string text = vell::json::write(result.description);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return result.problems ? 2 : 0;
}
