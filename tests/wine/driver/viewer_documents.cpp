// Documents for the viewer window's Wine tests, written with the project's
// document writer: `vtdriver make-viewer-doc KIND PATH`.
#include <cstdio>
#include <exception>
#include <string>

#include "document/format.h"
#include "vel_writer.h"
#include "viewer_driver.h"

namespace vtdriver {

namespace {

// A page that says which page it is in large letters, so that a screenshot
// or a pixel comparison tells pages apart.
vell::Bytes numbered_page(int number, int16_t orientation = 0) {
    vell::PageBuilder page(1, orientation, 7);
    page.font(1, 36, 0x794E1F, "Arial").aligned_text(1.0f, 1.0f, 0, "Page " + std::to_string(number));
    page.font(0, 11, 0, "Arial");
    for (int row = 0; row < 20; ++row)
        page.aligned_text(1.0f, 2.0f + row * 0.4f, 0, "Line " + std::to_string(row + 1) + " of page " +
                                                           std::to_string(number));
    page.box(6.0f, 9.5f, 7.5f, 10.5f, 1.0f, 0xF2F5F9, 0x794E1F);
    page.line(0.5f, 10.6f, 8.0f, 10.6f, 1.0f, 0);
    return page.end_of_page().bytes();
}

// Twelve pages, nothing offered but printing; the index names page 3 three
// times, page 5 once, and two entries point outside the document.
vell::DocumentPlan twelve_pages() {
    vell::DocumentPlan plan;
    plan.title = "Viewer Test";
    for (int n = 1; n <= 12; ++n) plan.pages.push_back(numbered_page(n));
    plan.index = {{3, "Totals"},  {3, "Summary   "}, {3, "  Appendix"}, {5, "Chapter 5"},
                  {0, "Nowhere"}, {40, "Beyond"}};
    return plan;
}

// One page, no index, "100%" chosen by the header.
vell::DocumentPlan single_page() {
    vell::DocumentPlan plan;
    plan.title = "Single Page";
    plan.initial_zoom = vell::kZoom100;
    plan.pages.push_back(numbered_page(1));
    return plan;
}

// Three pages; page 2 renames Next Page (label 6) and the zoom label
// (label 10) when it is drawn. Every output is offered; the initial zoom
// code 0x300 is none of the listed ones.
vell::DocumentPlan label_records() {
    vell::DocumentPlan plan;
    plan.title = "Label Records";
    plan.initial_zoom = 0x300;
    plan.save_allowed = plan.email_allowed = plan.fax_allowed = 1;
    plan.pages.push_back(numbered_page(1));
    vell::PageBuilder second(1, 0, 7);
    second.window_label(6, "&Onward").window_label(10, "Scale");
    second.font(1, 36, 0, "Arial").aligned_text(1.0f, 1.0f, 0, "Page 2").end_of_page();
    plan.pages.push_back(second.bytes());
    plan.pages.push_back(numbered_page(3));
    return plan;
}

// One landscape page with the fit-window zoom: scroll bars appear when the
// zoom is raised.
vell::DocumentPlan landscape_page() {
    vell::DocumentPlan plan;
    plan.title = "Landscape";
    plan.initial_zoom = vell::kZoomFitWindow;
    plan.pages.push_back(numbered_page(1, 1));
    return plan;
}

struct Kind {
    const char* name;
    vell::DocumentPlan (*make)();
};

const Kind kKinds[] = {
    {"twelve-pages", twelve_pages},
    {"single-page", single_page},
    {"label-records", label_records},
    {"landscape", landscape_page},
};

}  // namespace

int cmd_make_viewer_doc(const Args& args) {
    if (args.size() == 2) {
        for (const Kind& kind : kKinds) {
            if (args[0] != kind.name) continue;
            try {
                if (vell::write_file(args[1], vell::write_document(kind.make()))) return 0;
                std::fprintf(stderr, "vtdriver make-viewer-doc: cannot write %s\n", args[1].c_str());
            } catch (const std::exception& e) {
                std::fprintf(stderr, "vtdriver make-viewer-doc: %s\n", e.what());
            }
            return 1;
        }
    }
    std::fprintf(stderr, "usage: vtdriver make-viewer-doc KIND PATH   kinds:");
    for (const Kind& kind : kKinds) std::fprintf(stderr, " %s", kind.name);
    std::fprintf(stderr, "\n");
    return 64;
}

}  // namespace vtdriver
