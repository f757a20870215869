// The fault cases' helpers (tests/wine/cases_faults.sh):
//
//   fault make KIND PATH      writes one of the documents below
//   fault page-added POSITION sends the viewer window the building message
//                             "page added" (WM_COPYDATA 100) with that text
//   fault env NAME=VALUE... run ...
//                             sets environment variables (an empty VALUE
//                             removes one), then does what "run" does, so
//                             the program started inherits them
//
// Kinds:
//   cut-building   a one-page document cut in the middle of its page: a red
//                  box, then 40 texts, then a blue box; the file ends inside
//                  the 21st text, the header's page end lies past the file's end
//   red-picture    "Red Picture": one page with a green box, then an
//                  embedded 32 x 32 solid red bitmap four inches square (its
//                  only red)
//   max-pages      "Many Pages": 32767 pages, each saying "Page N", the
//                  last one with a red box as well
//   ten-mb-page    "Ten MB Page": one page of more than 10 MB of records
//                  (white lines with texts), then a red box at its very end
//   unknown-record "Unknown Record": page 1 a text; page 2 a red box, a
//                  record of unknown opcode 18, then a blue box; prints
//                  "page2=N end=M", page 2's position and the page index's
//                  (page 2's end), for building messages
//   picture-file   "Picture File": one page showing the picture file
//                  "startup-mark.bmp", relative to the start-up folder
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "document/bytes.h"
#include "document/format.h"
#include "driver.h"
#include "vel_writer.h"
#include "viewer_driver.h"

namespace vtdriver {

namespace {

constexpr uint32_t kRed = 0x0000FF;   // COLORREF
constexpr uint32_t kBlue = 0xFF0000;  // COLORREF
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr ULONG_PTR kPageAddedCode = 100;

std::string filler_text(int k) { return "Line " + std::to_string(k) + " of the cut page"; }

vell::PageBuilder& cut_page_head(vell::PageBuilder& page, int texts) {
    page.font(0, 12, 0, "Arial").box(1, 1, 3, 2, 1, kRed, kRed);
    for (int k = 0; k < texts; ++k) page.aligned_text(1, 2.5f + 0.2f * float(k % 30), 0, filler_text(k));
    return page;
}

vell::Bytes cut_building() {
    vell::PageBuilder head;
    cut_page_head(head, 20);
    vell::PageBuilder whole;
    cut_page_head(whole, 40).box(4, 1, 6, 2, 1, kBlue, kBlue).end_of_page();
    vell::DocumentPlan plan;
    plan.title = "Cut Building";
    plan.pages.push_back(whole.bytes());
    vell::Bytes bytes = vell::write_document(plan);
    // Five bytes into the 21st text record.
    bytes.resize(size_t(vell::kHeaderSize) + head.bytes().size() + 5);
    return bytes;
}

vell::Bytes red_picture() {
    vell::DocumentPlan plan;
    plan.title = "Red Picture";
    plan.pages.push_back(vell::PageBuilder()
                             .font(0, 12, 0, "Arial")
                             .aligned_text(1, 1, 0, "A picture follows")
                             .box(1, 1.3f, 2, 1.6f, 1, kGreen, kGreen)
                             .embedded_picture(2, 2, 6, 6,
                                               vell::make_bitmap(32, 32, vell::BitmapPattern::kSolid, kRed))
                             .end_of_page()
                             .bytes());
    return vell::write_document(plan);
}

vell::Bytes max_pages() {
    vell::DocumentPlan plan;
    plan.title = "Many Pages";
    for (int page = 1; page <= vell::kMaxPages; ++page) {
        vell::PageBuilder builder;
        builder.font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "Page " + std::to_string(page));
        if (page == vell::kMaxPages) builder.box(1, 2, 4, 4, 1, kRed, kRed);
        plan.pages.push_back(builder.end_of_page().bytes());
    }
    return vell::write_document(plan);
}

vell::Bytes ten_mb_page() {
    vell::PageBuilder page;
    page.font(0, 8, kWhite, "Arial");
    const std::string text(200, 'x');
    int k = 0;
    while (page.bytes().size() < size_t(10) * 1024 * 1024) {
        const float y = 0.5f + 0.01f * float(k % 1000);
        page.line(0.5f, y, 0.6f, y, 1, kWhite);
        if (k % 4 == 0) page.aligned_text(0.5f, y, 0, text);
        ++k;
    }
    page.box(1, 2, 4, 4, 1, kRed, kRed).end_of_page();
    vell::DocumentPlan plan;
    plan.title = "Ten MB Page";
    plan.pages.push_back(page.bytes());
    return vell::write_document(plan);
}

vell::Bytes unknown_record() {
    vell::DocumentPlan plan;
    plan.title = "Unknown Record";
    plan.pages.push_back(
        vell::PageBuilder().font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "First page").end_of_page().bytes());
    vell::Bytes unknown;
    vell::append_i16(unknown, 18);
    plan.pages.push_back(vell::PageBuilder()
                             .box(1, 1, 3, 2, 1, kRed, kRed)
                             .raw(unknown)
                             .box(4, 1, 6, 2, 1, kBlue, kBlue)
                             .end_of_page()
                             .bytes());
    const size_t page2 = size_t(vell::kHeaderSize) + plan.pages[0].size() + 1;
    std::printf("page2=%zu end=%zu\n", page2, page2 + plan.pages[1].size());
    return vell::write_document(plan);
}

vell::Bytes picture_file() {
    vell::DocumentPlan plan;
    plan.title = "Picture File";
    plan.pages.push_back(
        vell::PageBuilder().picture_file(1, 1, 3, 3, "startup-mark.bmp").end_of_page().bytes());
    return vell::write_document(plan);
}

struct Kind {
    const char* name;
    vell::Bytes (*make)();
};

const Kind kKinds[] = {
    {"cut-building", cut_building},
    {"red-picture", red_picture},
    {"max-pages", max_pages},
    {"ten-mb-page", ten_mb_page},
    {"unknown-record", unknown_record},
    {"picture-file", picture_file},
};

int make(const Args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vtdriver fault make KIND PATH\n");
        return 64;
    }
    for (const Kind& k : kKinds) {
        if (args[0] != k.name) continue;
        if (vell::write_file(args[1], k.make())) return 0;
        std::fprintf(stderr, "vtdriver fault make: cannot write %s\n", args[1].c_str());
        return 1;
    }
    std::fprintf(stderr, "vtdriver fault make: unknown kind %s\n", args[0].c_str());
    return 64;
}

int page_added(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vtdriver fault page-added POSITION\n");
        return 64;
    }
    viewer::Parts parts;
    if (!viewer::find_viewer(20, &parts)) {
        std::fprintf(stderr, "vtdriver fault page-added: no viewer window\n");
        return 1;
    }
    const std::string& text = args[0];
    COPYDATASTRUCT data = {};
    data.dwData = kPageAddedCode;
    data.cbData = DWORD(text.size() + 1);
    data.lpData = const_cast<char*>(text.c_str());
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(parts.window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, 20000, &result)) {
        std::fprintf(stderr, "vtdriver fault page-added: the viewer did not take the message\n");
        return 1;
    }
    return 0;
}

int with_environment(const Args& args) {
    size_t i = 0;
    for (; i < args.size() && args[i] != "run"; ++i) {
        const size_t equals = args[i].find('=');
        if (equals == std::string::npos || equals == 0) {
            std::fprintf(stderr, "vtdriver fault env: not NAME=VALUE: %s\n", args[i].c_str());
            return 64;
        }
        const std::string name = args[i].substr(0, equals);
        const std::string value = args[i].substr(equals + 1);
        SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
    if (i == args.size()) {
        std::fprintf(stderr, "usage: vtdriver fault env NAME=VALUE... run ...\n");
        return 64;
    }
    return cmd_run(Args(args.begin() + long(i) + 1, args.end()));
}

}  // namespace

int cmd_fault(const Args& args) {
    if (!args.empty()) {
        const Args rest(args.begin() + 1, args.end());
        if (args[0] == "make") return make(rest);
        if (args[0] == "page-added") return page_added(rest);
        if (args[0] == "env") return with_environment(rest);
    }
    std::fprintf(stderr, "usage: vtdriver fault make KIND PATH | page-added POSITION |"
                         " env NAME=VALUE... run ...\n");
    return 64;
}

}  // namespace vtdriver
