// A typical report page for the find benchmarks: an invoice page with a
// heading, two address blocks, a table of 25 rows of four columns, rules,
// a shaded box and the page number and total (about 110 texts). The last
// page of a benchmark document also carries kLastPageText, which no other
// page has. Used by the native find benchmark and by vtdriver's find
// documents, so both measure the same pages.
#pragma once

#include <string>

#include "vel_writer.h"

namespace vell {

constexpr char kLastPageText[] = "Closing balance carried forward";

inline Bytes typical_page(int n, bool last) {
    PageBuilder p;
    p.font(1, 14.0f, 0, "Arial").aligned_text(0.75f, 0.6f, 0, "Invoice 2026-" + std::to_string(n));
    p.font(0, 9.0f, 0, "Arial");
    const char* sender[] = {"Northwind Traders", "12 Harbour Road", "Bristol BS1 4DJ", "VAT GB 123 4567 89"};
    const char* customer[] = {"Contoso Limited", "Accounts Payable", "1 Market Street", "Leeds LS1 6AB"};
    for (int i = 0; i < 4; ++i) {
        p.aligned_text(0.75f, 1.0f + 0.17f * float(i), 0, sender[i]);
        p.aligned_text(5.0f, 1.0f + 0.17f * float(i), 0, customer[i]);
    }
    p.box(0.75f, 2.0f, 7.75f, 2.25f, -1.0f, 0xE0E0E0, 0);
    p.font(1, 9.0f, 0, "Arial");
    p.aligned_text(0.8f, 2.05f, 0, "Item").aligned_text(1.6f, 2.05f, 0, "Description");
    p.aligned_text(6.0f, 2.05f, 2, "Quantity").aligned_text(7.7f, 2.05f, 2, "Amount");
    p.font(0, 9.0f, 0, "Times New Roman");
    for (int row = 0; row < 25; ++row) {
        const float y = 2.35f + 0.26f * float(row);
        const int code = (n * 25 + row) % 9973;
        p.aligned_text(0.8f, y, 0, std::to_string(1000 + code));
        p.aligned_text(1.6f, y, 0, "Service hours, consulting and travel " + std::to_string(row + 1));
        p.aligned_text(6.0f, y, 2, std::to_string(1 + code % 40));
        p.aligned_text(7.7f, y, 3, std::to_string(code * 3) + "." + std::to_string(10 + row));
        p.line(0.75f, y + 0.22f, 7.75f, y + 0.22f, 0.25f, 0xC0C0C0);
    }
    p.font(1, 10.0f, 0, "Arial").aligned_text(6.0f, 9.0f, 2, "Total").aligned_text(7.7f, 9.0f, 3, "4711.00");
    if (last) p.aligned_text(0.75f, 9.4f, 0, kLastPageText);
    p.font(0, 8.0f, 0x808080, "Arial")
        .boxed_text(0.75f, 10.2f, 4.0f, 0, "Payment within 30 days to the account shown above.")
        .aligned_text(4.0f, 10.5f, 2, "Page")
        .page_number(4.1f, 10.5f, 0, 0)
        .aligned_text(4.4f, 10.5f, 0, "of")
        .page_total(4.6f, 10.5f, 0, 0)
        .end_of_page();
    return p.bytes();
}

}  // namespace vell
