// Test documents of the print cases: several pages with text that
// pdftotext can find, pages of different paper, and a page of lines, boxes
// and a picture to compare with the screen's rendering.
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "document/bytes.h"
#include "driver.h"
#include "vel_writer.h"

namespace vtdriver {

namespace {

constexpr int16_t kLetter = 1;
constexpr int16_t kLegal = 5;
constexpr int16_t kA4 = 9;
constexpr int16_t kPortrait = 0;
constexpr int16_t kLandscape = 1;
constexpr int16_t kAutoSource = 7;

// A page that says which page it is, in words pdftotext reads back.
vell::Bytes text_page(int16_t paper, int16_t orientation, const std::string& text) {
    return vell::PageBuilder(paper, orientation, kAutoSource)
        .font(0, 14, 0, "Arial")
        .aligned_text(1, 1, 0, text)
        .end_of_page()
        .bytes();
}

vell::Bytes numbered_pages(const std::string& title, int count) {
    vell::DocumentPlan plan;
    plan.title = title;
    for (int page = 1; page <= count; ++page)
        plan.pages.push_back(text_page(kLetter, kPortrait, "Printed page " + std::to_string(page)));
    return vell::write_document(plan);
}

// Letter portrait, A4 landscape, Legal portrait.
vell::Bytes paper_sizes() {
    vell::DocumentPlan plan;
    plan.title = "Paper Sizes";
    plan.pages.push_back(text_page(kLetter, kPortrait, "Letter portrait page"));
    plan.pages.push_back(text_page(kA4, kLandscape, "A4 landscape page"));
    plan.pages.push_back(text_page(kLegal, kPortrait, "Legal portrait page"));
    return vell::write_document(plan);
}

// Thick lines, filled and outlined boxes and a checkered picture, with no
// text: fonts would differ between the printer and the screen, these must not.
vell::Bytes drawing() {
    vell::DocumentPlan plan;
    plan.title = "Drawing";
    plan.pages.push_back(
        vell::PageBuilder(kLetter, kPortrait, kAutoSource)
            .line(1, 1, 7.5f, 1, 6, 0x000000)
            .line(1, 1.5f, 1, 9.5f, 4, 0x0000FF)
            .box(2, 2, 4.5f, 3.5f, 3, 0xFF8000, 0x008000)
            .box(5, 2, 7.5f, 3.5f, -1, 0x00C0FF, 0)
            .embedded_picture(2, 4.5f, 6, 8.5f,
                              vell::make_bitmap(64, 64, vell::BitmapPattern::kChecker, 0x800000))
            .line(2, 9.5f, 7.5f, 9.5f, 2, 0x00A000)
            .end_of_page()
            .bytes());
    return vell::write_document(plan);
}

struct PrintKind {
    const char* name;
    vell::Bytes (*make)();
};

const PrintKind kPrintKinds[] = {
    {"print-five", [] { return numbered_pages("Print Run Five", 5); }},
    // A title of blanks only: the spooler document is "vell Document".
    {"print-untitled", [] { return numbered_pages("   ", 2); }},
    {"print-three", [] { return numbered_pages("Print Run Three", 3); }},
    {"print-papers", paper_sizes},
    {"print-drawing", drawing},
    // One page behind the password "tiger".
    {"print-protected", [] {
         vell::DocumentPlan plan;
         plan.title = "Protected Print";
         plan.password = "tiger";
         plan.pages.push_back(text_page(kLetter, kPortrait, "Printed page 1"));
         return vell::write_document(plan);
     }},
};

}  // namespace

std::vector<std::string> print_document_kinds() {
    std::vector<std::string> names;
    for (const PrintKind& k : kPrintKinds) names.push_back(k.name);
    return names;
}

bool print_document_bytes(const std::string& kind, std::vector<unsigned char>* bytes) {
    for (const PrintKind& k : kPrintKinds) {
        if (kind != k.name) continue;
        *bytes = k.make();
        return true;
    }
    return false;
}

}  // namespace vtdriver
