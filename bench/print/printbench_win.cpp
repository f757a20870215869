// The print benchmark: vell.exe /PA of a document end to end, against
// printing the same pages, recorded as enhanced metafiles beforehand, with
// PlayEnhMetaFile to the same printer. Run by bench/print/run.sh, which
// brings up the Wine rig and its CUPS printer and reads the spool sizes.
//
//   printbench make DOCUMENT PAGES     writes a document of PAGES dense pages
//   printbench vell VELL_EXE DOCUMENT  times "vell.exe /PA DOCUMENT" until it ends
//   printbench metafiles DOCUMENT      records each page as an enhanced
//                                      metafile at the default printer's
//                                      resolution, then times printing them
//
// Times are printed as "seconds=S" (wall clock, the spooler's hand-over
// included; the conversion to PDF that CUPS does afterwards is not).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../dense_page.h"
#include "document/document.h"
#include "render/gdi_surface_win.h"
#include "render/interpreter.h"
#include "render/units.h"
#include "vel_writer.h"

namespace {

double seconds_now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

int make(const std::string& path, int pages) {
    vell::DocumentPlan plan;
    plan.title = "Print Bench";
    const vell::Bytes page = vell::dense_page();
    for (int i = 0; i < pages; ++i) plan.pages.push_back(page);
    if (!vell::write_file(path, vell::write_document(plan))) {
        std::fprintf(stderr, "printbench: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

int time_vell(const std::string& vell_exe, const std::string& document) {
    std::string command = "\"" + vell_exe + "\" /PA " + document;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = seconds_now();
    if (!CreateProcessA(vell_exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "printbench: cannot start %s\n", vell_exe.c_str());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    std::printf("seconds=%.3f\n", seconds_now() - start);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

std::string default_printer() {
    char entry[1000] = {};
    GetPrivateProfileStringA("WINDOWS", "DEVICE", "", entry, sizeof entry, "win.ini");
    std::string name = entry;
    return name.substr(0, name.find(','));
}

// One page as an enhanced metafile in the printer's device units: the
// interpreter's screen path at the printer's resolution onto a metafile
// device context that takes the printer as its reference.
HENHMETAFILE record_page(HDC printer, vell::Document& doc, int page, const RECT& frame) {
    HDC recorder = CreateEnhMetaFileA(printer, nullptr, &frame, nullptr);
    if (!recorder) return nullptr;
    vell::load_page(doc, page);
    vell::PageSource source;
    source.bytes = doc.page.data();
    source.size = doc.page.size();
    source.page_number = int16_t(page);
    source.page_count = vell::page_count(doc);
    {
        vell::GdiSurface surface(recorder);
        const int dpi_x = GetDeviceCaps(printer, LOGPIXELSX), dpi_y = GetDeviceCaps(printer, LOGPIXELSY);
        vell::render_page_bytes(source, surface, dpi_x, dpi_y, 0, 0, 0, nullptr, 0);
    }
    return CloseEnhMetaFile(recorder);
}

int time_metafiles(const std::string& path) {
    vell::Document& doc = vell::the_document();
    if (!vell::open_document(doc, path, 0) || vell::read_header(doc) != vell::HeaderCheck::kDocument) {
        std::fprintf(stderr, "printbench: %s is not a document\n", path.c_str());
        return 1;
    }
    vell::read_page_index(doc);
    const std::string printer_name = default_printer();
    HDC printer = CreateDCA("", printer_name.c_str(), nullptr, nullptr);
    if (!printer) {
        std::fprintf(stderr, "printbench: no printer %s\n", printer_name.c_str());
        return 1;
    }
    // Letter, in the metafile frame's hundredths of a millimetre and in
    // the printer's pixels, from the paper's corner.
    const RECT frame = {0, 0, 21590, 27940};
    const int offset_x = GetDeviceCaps(printer, PHYSICALOFFSETX);
    const int offset_y = GetDeviceCaps(printer, PHYSICALOFFSETY);
    const RECT page = {-offset_x, -offset_y, GetDeviceCaps(printer, LOGPIXELSX) * 17 / 2 - offset_x,
                       GetDeviceCaps(printer, LOGPIXELSY) * 11 - offset_y};
    std::vector<HENHMETAFILE> metafiles;
    for (int p = 1; p <= vell::page_count(doc); ++p) metafiles.push_back(record_page(printer, doc, p, frame));

    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = "Print Bench Metafiles";
    const double start = seconds_now();
    if (StartDocA(printer, &info) <= 0) {
        std::fprintf(stderr, "printbench: StartDocA failed\n");
        return 1;
    }
    for (HENHMETAFILE metafile : metafiles) {
        StartPage(printer);
        PlayEnhMetaFile(printer, metafile, &page);
        EndPage(printer);
    }
    EndDoc(printer);
    std::printf("seconds=%.3f\n", seconds_now() - start);
    for (HENHMETAFILE metafile : metafiles) DeleteEnhMetaFile(metafile);
    DeleteDC(printer);
    vell::close_document(doc);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 4) return make(argv[2], std::atoi(argv[3]));
    if (mode == "vell" && argc == 4) return time_vell(argv[2], argv[3]);
    if (mode == "metafiles" && argc == 3) return time_metafiles(argv[2]);
    std::fprintf(stderr,
                 "usage: printbench make DOCUMENT PAGES | vell VELL_EXE DOCUMENT | metafiles DOCUMENT\n");
    return 64;
}
