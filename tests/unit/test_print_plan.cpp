// The arithmetic of a print job: the preset range, the dialog's page
// boxes, the order of printed pages, the status text, the spooler's
// document name and the printer resolution rendering may use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/print_plan.h"

namespace vell {
namespace {

std::vector<int> printed(const PrintRange& range) {
    std::vector<int> pages;
    for_each_printed_page(range, [&](int16_t page) {
        pages.push_back(page);
        return true;
    });
    return pages;
}

PrintRange range_of(int32_t first, int32_t last, int32_t copies) {
    PrintRange range;
    range.first = first;
    range.last = last;
    range.copies = copies;
    return range;
}

TEST(PrintedPages, EachCopyIsACompleteOrderedSet) {
    EXPECT_EQ(printed(preset_range(3)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(printed(range_of(2, 3, 2)), (std::vector<int>{2, 3, 2, 3}));
    EXPECT_EQ(printed(range_of(1, 1, 3)), (std::vector<int>{1, 1, 1}));
}

TEST(PrintedPages, NoCopiesOrAnInvertedRangePrintsNothing) {
    EXPECT_TRUE(printed(range_of(1, 5, 0)).empty());
    EXPECT_TRUE(printed(range_of(1, 5, -2)).empty());
    EXPECT_TRUE(printed(range_of(4, 3, 2)).empty());
    // An empty document: the preset range ends before it starts.
    EXPECT_TRUE(printed(preset_range(0)).empty());
}

TEST(PrintedPages, TheHighestPageNumberDoesNotWrapTheCount) {
    const std::vector<int> pages = printed(range_of(32765, 32767, 1));
    EXPECT_EQ(pages, (std::vector<int>{32765, 32766, 32767}));
    // Beyond the 16-bit page numbers nothing is produced.
    EXPECT_EQ(printed(range_of(32766, 40000, 1)), (std::vector<int>{32766, 32767}));
    EXPECT_EQ(printed(range_of(-3, 2, 1)), (std::vector<int>{1, 2}));
}

TEST(PrintedPages, AStopEndsEveryCopy) {
    std::vector<int> pages;
    const bool completed = for_each_printed_page(range_of(1, 3, 2), [&](int16_t page) {
        pages.push_back(page);
        return pages.size() < 2;
    });
    EXPECT_FALSE(completed);
    EXPECT_EQ(pages, (std::vector<int>{1, 2}));
}

TEST(DialogPages, FromAndToAreHeldToTheDocument) {
    DialogPages pages = dialog_pages(1, 5, 1, 5);
    EXPECT_EQ(pages.from, 1);
    EXPECT_EQ(pages.to, 5);
    EXPECT_EQ(pages.min, 1);
    EXPECT_EQ(pages.max, 5);

    pages = dialog_pages(0, 9, 1, 5);  // first below the lowest, last above the highest
    EXPECT_EQ(pages.from, 1);
    EXPECT_EQ(pages.to, 5);

    pages = dialog_pages(3, -1, 2, 5);  // last below the lowest is raised to it
    EXPECT_EQ(pages.from, 3);
    EXPECT_EQ(pages.to, 2);

    // Lowered to the highest first, then raised to the lowest: an empty
    // document (highest 0) opens the dialog on page 1.
    pages = dialog_pages(1, 0, 1, 0);
    EXPECT_EQ(pages.from, 1);
    EXPECT_EQ(pages.to, 1);
    EXPECT_EQ(pages.max, 0);
}

TEST(DialogPages, ValuesStayInTheDialogsSixteenBits) {
    const DialogPages pages = dialog_pages(70000, 80000, -4, 90000);
    EXPECT_EQ(pages.from, 65535);
    EXPECT_EQ(pages.to, 65535);
    EXPECT_EQ(pages.min, 0);
    EXPECT_EQ(pages.max, 65535);
}

TEST(PrintStatus, PageOfLastPageWithoutBlanks) {
    EXPECT_EQ(print_status_text(3, 12), "3 of 12");
    EXPECT_EQ(print_status_text(32767, 32767), "32767 of 32767");
}

TEST(SpoolerDocumentName, TheTrimmedTitleOrVellDocument) {
    EXPECT_EQ(spooler_document_name("  Quarterly Report  "), "Quarterly Report");
    EXPECT_EQ(spooler_document_name(""), "vell Document");
    EXPECT_EQ(spooler_document_name("     "), "vell Document");
    EXPECT_EQ(spooler_document_name(std::string(300, 't')), std::string(255, 't'));
}

TEST(PrinterResolution, ADeviceWithoutOneIsTakenAs96) {
    EXPECT_EQ(usable_resolution(1), 1);
    EXPECT_EQ(usable_resolution(0), 96);
    EXPECT_EQ(usable_resolution(-300), 96);
}

}  // namespace
}  // namespace vell
