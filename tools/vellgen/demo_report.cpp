#include "demo_report.h"

#include <cstdio>

namespace vellgen {

namespace {

constexpr uint32_t kNavy = 0x794E1F;   // COLORREF 0x00BBGGRR
constexpr uint32_t kShade = 0xF9F5F2;
constexpr uint32_t kGrey = 0x808080;
constexpr int kRowsPerPage = 24;

std::string amount(int page, int row) {
    const int cents = (page * 7919 + row * 104729) % 100000;
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", cents / 100, cents % 100);
    return text;
}

void heading(vell::PageBuilder& page, int number) {
    page.font(1, 18, kNavy, "Arial").aligned_text(0.75f, 0.6f, 0, "Account statement");
    page.font(0, 10, 0, "Arial")
        .aligned_text(0.75f, 1.0f, 0, "Written page by page by vellgen while the viewer shows it");
    page.font(1, 28, kNavy, "Arial").aligned_text(7.75f, 0.5f, 2, "#" + std::to_string(number));
    page.line(0.75f, 1.35f, 7.75f, 1.35f, 1.5f, kNavy);
}

void rows(vell::PageBuilder& page, int number) {
    page.font(0, 10, 0, "Arial");
    for (int row = 0; row < kRowsPerPage; ++row) {
        const float y = 1.6f + row * 0.3f;
        if (row % 2 == 0) page.box(0.75f, y - 0.04f, 7.75f, y + 0.24f, -1, kShade, kShade);
        const int line = (number - 1) * kRowsPerPage + row + 1;
        page.aligned_text(0.85f, y, 0, "Entry " + std::to_string(line));
        page.aligned_text(3.0f, y, 0, "Reference " + std::to_string(100000 + line * 37));
        page.aligned_text(7.6f, y, 3, amount(number, row));
    }
}

void footer(vell::PageBuilder& page) {
    page.line(0.75f, 9.0f, 7.75f, 9.0f, 0.5f, kGrey);
    page.font(0, 9, kGrey, "Arial");
    page.aligned_text(7.2f, 10.3f, 2, "Page");
    page.page_number(7.35f, 10.3f, 2, 0);
    page.aligned_text(7.55f, 10.3f, 2, "of");
    page.page_total(7.75f, 10.3f, 2, 0);
}

}  // namespace

vell::Bytes report_page(int number) {
    vell::PageBuilder page(1, 0, 7);
    heading(page, number);
    rows(page, number);
    footer(page);
    page.end_of_page();
    return page.bytes();
}

vell::DocumentPlan report_document(const ReportOptions& options, int written, bool complete) {
    vell::DocumentPlan plan;
    plan.title = options.title;
    plan.builder_window = options.builder_window;
    const int16_t allowed = options.outputs_allowed ? 1 : 0;
    plan.save_allowed = plan.email_allowed = plan.fax_allowed = allowed;
    for (int number = 1; number <= written; ++number)
        plan.pages.push_back(report_page(number));
    if (complete && options.with_index) {
        for (int number = 1; number <= written; number += 3)
            plan.index.push_back({int16_t(number), "Section " + std::to_string((number + 2) / 3)});
    }
    return plan;
}

}  // namespace vellgen
