// Test documents of the page image cases: pages whose far end lies beyond
// 17.5 inches of image at the zoom they are shown at, with a red mark there.
#include <string>
#include <vector>

#include "document/bytes.h"
#include "driver.h"
#include "vel_writer.h"

namespace vtdriver {

namespace {

constexpr uint32_t kRed = 0x0000FF;  // COLORREF
constexpr uint32_t kBlack = 0;
constexpr int16_t kLedger = 4;
constexpr int16_t kEnvelope10 = 20;
constexpr int16_t kPortrait = 0;
constexpr int16_t kLandscape = 1;
constexpr int16_t kAutoSource = 7;
constexpr int32_t kZoom125 = 0x400;

// One page with a red box from top to bottom inches down, at the left.
vell::Bytes marked_document(const std::string& title, int16_t paper, int16_t orientation,
                            float top, float bottom, int32_t initial_zoom) {
    vell::DocumentPlan plan;
    plan.title = title;
    plan.initial_zoom = initial_zoom;
    plan.pages.push_back(vell::PageBuilder(paper, orientation, kAutoSource)
                             .font(0, 12, kBlack, "Arial")
                             .aligned_text(1, 1, 0, title)
                             .box(0.5f, top, 3.5f, bottom, 1.0f, kRed, kRed)
                             .end_of_page()
                             .bytes());
    return vell::write_document(plan);
}

struct Kind {
    const char* name;
    vell::Bytes (*make)();
};

const Kind kKinds[] = {
    // Ledger turned to landscape: 11 by 17 inches, opened at 125 %, red
    // 16.4 to 16.9 inches down (rows 1968 to 2028 at 96 pixels per inch).
    {"ledger-landscape", [] {
         return marked_document("Ledger Landscape", kLedger, kLandscape, 16.4f, 16.9f, kZoom125);
     }},
    // Envelope #10, 4.125 by 9.5 inches, opened at fit width: on a 1280-pixel
    // screen about 300 %, so its foot lies some 2800 rows down.
    {"tall-envelope", [] {
         return marked_document("Tall Envelope", kEnvelope10, kPortrait, 8.9f, 9.4f, 0);
     }},
};

}  // namespace

std::vector<std::string> page_image_document_kinds() {
    std::vector<std::string> names;
    for (const Kind& k : kKinds) names.push_back(k.name);
    return names;
}

bool page_image_document_bytes(const std::string& kind, std::vector<unsigned char>* bytes) {
    for (const Kind& k : kKinds) {
        if (kind != k.name) continue;
        *bytes = k.make();
        return true;
    }
    return false;
}

}  // namespace vtdriver
