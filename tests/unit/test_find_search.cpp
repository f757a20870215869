// The viewer's search over a document file: pages read for it leave the
// page held for display alone, and a match found is placed in the page area.
#include <gtest/gtest.h>

#include <string>

#include "document/document.h"
#include "document_test_util.h"
#include "render/recording_surface.h"
#include "vel_writer.h"
#include "viewer/find_search.h"
#include "viewer/page_image.h"

namespace vell {
namespace {

// The plan written to PATH and opened as the viewer opens a document.
void open_written(const DocumentPlan& plan, const std::string& path, Document& doc) {
    ASSERT_TRUE(write_file(path, write_document(plan)));
    ASSERT_TRUE(open_document(doc, path, 0));
    read_header(doc);
    read_page_index(doc);
}

TEST(FindSearch, ReadsPagesWithoutChangingTheLoadedPage) {
    testing_document::TempDir dir;
    const std::string path = dir.file("find.vel");
    DocumentPlan plan;
    for (int n = 1; n <= 4; ++n) {
        PageBuilder page;
        page.aligned_text(1, 1, 0, n == 3 ? "the needle" : "hay " + std::to_string(n)).end_of_page();
        plan.pages.push_back(page.bytes());
    }
    Document doc;
    ASSERT_NO_FATAL_FAILURE(open_written(plan, path, doc));
    load_page(doc, 2);
    const Bytes shown = doc.page;

    RecordingSurface measure;
    PageSearchRun run(doc, measure, DocumentSearch("Needle", {}, true, 4, 4, nullptr));
    while (run.step()) {
    }
    ASSERT_TRUE(run.search().found());
    EXPECT_EQ(run.search().match().page, 3);
    EXPECT_TRUE(run.search().wrapped());
    EXPECT_EQ(run.pages_read(), 1);  // the other pages do not hold the text
    ASSERT_EQ(run.match_rects().size(), 1u);
    EXPECT_GT(run.match_rects()[0].right, run.match_rects()[0].left);
    EXPECT_EQ(doc.page_number, 2);
    EXPECT_EQ(doc.page, shown);
    close_document(doc);
}

// A footer drawn as four records, "Page", the number, "of" and the total,
// reads "Page 2 of 3", and the mark covers each of them.
TEST(FindSearch, FindsAPhraseAcrossRecordsAndMarksEveryPiece) {
    testing_document::TempDir dir;
    const std::string path = dir.file("footer.vel");
    DocumentPlan plan;
    for (int n = 1; n <= 3; ++n) {
        PageBuilder page;
        page.font(0, 9, 0, "Arial")
            .aligned_text(7.2f, 10.3f, 2, "Page")
            .page_number(7.35f, 10.3f, 2, 0)
            .aligned_text(7.55f, 10.3f, 2, "of")
            .page_total(7.75f, 10.3f, 2, 0)
            .end_of_page();
        plan.pages.push_back(page.bytes());
    }
    Document doc;
    ASSERT_NO_FATAL_FAILURE(open_written(plan, path, doc));
    RecordingSurface measure;
    PageSearchRun run(doc, measure, DocumentSearch("page 2 of", {}, true, 3, 1, nullptr));
    while (run.step()) {
    }
    ASSERT_TRUE(run.search().found());
    EXPECT_EQ(run.search().match().page, 2);
    const std::vector<PageRect>& pieces = run.match_rects();
    ASSERT_EQ(pieces.size(), 3u);
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_GT(pieces[i].right, pieces[i].left);
        if (i > 0) {
            EXPECT_GT(pieces[i].left, pieces[i - 1].right);
        }
    }
    close_document(doc);
}

TEST(FindSearch, MatchesArePlacedInThePageAreaAndScrolledIntoView) {
    CopyInput in;
    in.zoom = 1.0;
    in.area_width = 400;
    in.area_height = 300;  // the 11-inch page overflows by 756 rows
    in.vertical_needed = true;
    const PageRect low{1.0, 9.0, 2.0, 9.2};
    const ScrollPositions shown = scroll_positions_showing(in, low);
    in.vertical_position = shown.vertical;
    const SurfaceRect r = page_rect_in_area(in, plan_copy(in), low);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.bottom, in.area_height);
    EXPECT_EQ(r.left, 95);  // image column 96, the copy starting at column 1
    // Already in view: the bars stay.
    EXPECT_EQ(scroll_positions_showing(in, low).vertical, shown.vertical);
}

}  // namespace
}  // namespace vell
