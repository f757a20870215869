// vellconvert: converts a vell document (or a self-extracting viewer) to
// PDF, PNG, SVG or text, natively, through the viewer's own interpreter on
// a cairo drawing surface. The options and exit statuses are in kHelp.
//
// The format comes from OUT's extension unless --format says it; OUT "-"
// is standard output (PDF unless --format says otherwise). Pictures are
// one file per page: OUT with "-N" before the extension when there are
// several pages, or OUT's "%d" replaced by the page number.
#include <cstdio>
#include <string>

#include "convert.h"
#include "options.h"
#include "output_file.h"

namespace {

const char kUsage[] =
    "usage: vellconvert IN OUT [--format pdf|png|svg|txt] [--pages 2-5,9]\n"
    "                   [--password P | --password-file FILE] [--dpi N] [--zoom Z]\n"
    "                   [--no-file-pictures] [--keep-going] [--quiet] [--help]\n";

const char kHelp[] =
    "\n"
    "Converts a vell document (or a self-extracting viewer) to PDF, PNG, SVG or text.\n"
    "OUT - is standard output. PNG and SVG are one file per page: OUT with -N before\n"
    "its extension, or OUT's %d replaced by the page number (%% is a percent sign).\n"
    "\n"
    "  --format F          pdf, png, svg or txt (else OUT's extension)\n"
    "  --pages LIST        pages such as 2-5,9 or 4- (all pages when not given)\n"
    "  --password P        the document's password\n"
    "  --password-file F   the password from the first line of F (- is standard input)\n"
    "  --dpi N, --zoom Z   resolution (96) and zoom (1) of PNG and SVG pages\n"
    "  --no-file-pictures  picture file records draw nothing: no local file is read\n"
    "  --keep-going        draw damaged pages as far as they go, as the viewer does\n"
    "  --quiet             no progress bar\n"
    "\n"
    "Exit statuses:\n"
    "  0  written\n"
    "  1  wrong arguments, pages not in the document, or OUT is the document\n"
    "  2  the document cannot be read, is not a document, or has a damaged page\n"
    "  3  password missing or wrong\n"
    "  4  the output cannot be written\n"
    "  5  written with --keep-going, but damaged pages were drawn only in part\n"
    "Nothing is left behind on failure.\n";

}  // namespace

int main(int argc, char** argv) {
    vell::ConvertOptions options;
    std::string error;
    if (!vell::parse_convert_options(argc, argv, &options, &error)) {
        vell::report(error);
        std::fputs(kUsage, stderr);
        return vell::kConvertUsage;
    }
    if (options.help) {
        std::printf("%s%s", kUsage, kHelp);
        return vell::kConvertOk;
    }
    vell::remove_outputs_on_signals();
    return vell::run_convert(options);
}
