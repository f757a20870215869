// vellconvert: converts a vell document (or a self-extracting viewer) to
// PDF, PNG, SVG or text, natively, through the viewer's own interpreter on
// a cairo drawing surface.
//
//   vellconvert IN OUT [--format pdf|png|svg|txt] [--pages 2-5,9]
//               [--password P] [--dpi N] [--zoom Z] [--quiet]
//
// The format comes from OUT's extension unless --format says it; OUT "-"
// is standard output (PDF unless --format says otherwise). Pictures are
// one file per page: OUT with "-N" before the extension when there are
// several pages, or OUT's "%d" replaced by the page number.
//
// Exit statuses: 0 written, 1 wrong arguments or pages, 2 the input cannot
// be read, is not a document or has a damaged page, 3 password missing or
// wrong, 4 the output cannot be written. Nothing is left behind on failure.
#include <cstdio>
#include <string>

#include "convert.h"
#include "options.h"
#include "vell_version.h"

int main(int argc, char** argv) {
    const std::string only = argc == 2 ? argv[1] : "";
    if (only == "--version") {
        std::puts("vellconvert " VELL_VERSION);
        return 0;
    }
    // --help prints the usage on standard output and succeeds.
    const bool help = only == "--help" || only == "-h";
    vell::ConvertOptions options;
    std::string error;
    if (help || !vell::parse_convert_options(argc, argv, &options, &error)) {
        if (!help) vell::report(error);
        std::fprintf(help ? stdout : stderr,
                     "usage: vellconvert IN OUT [--format pdf|png|svg|txt] [--pages 2-5,9]\n"
                     "                   [--password P] [--dpi N] [--zoom Z] [--quiet]\n");
        return help ? 0 : vell::kConvertUsage;
    }
    return vell::run_convert(options);
}
