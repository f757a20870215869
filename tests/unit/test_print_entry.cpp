// The default printer entry of win.ini: which printer it names, and which
// entries name none.
#include <gtest/gtest.h>

#include <string>

#include "print/printer_entry.h"

namespace vell {
namespace {

std::string name_of(const std::string& entry) {
    std::string name = "(unchanged)";
    return printer_name_from_entry(entry, &name) ? name : "(none: " + name + ")";
}

TEST(PrinterEntry, TheNameIsWhatStandsBeforeTheFirstComma) {
    EXPECT_EQ(name_of("Office Printer,winspool,LPT1:"), "Office Printer");
    EXPECT_EQ(name_of("OfficePDF,wineps.drv,CUPS:OfficePDF"), "OfficePDF");
    EXPECT_EQ(name_of("P,"), "P");
}

TEST(PrinterEntry, TheEntryIsTrimmedButNotTheNameInside) {
    EXPECT_EQ(name_of("   Office Printer,winspool,LPT1:   "), "Office Printer");
    // Blanks before the comma belong to the name, as Windows keeps them.
    EXPECT_EQ(name_of("Office Printer ,winspool"), "Office Printer ");
}

TEST(PrinterEntry, NoCommaOrALeadingCommaNamesNoPrinter) {
    EXPECT_EQ(name_of(""), "(none: (unchanged))");
    EXPECT_EQ(name_of("     "), "(none: (unchanged))");
    EXPECT_EQ(name_of("Office Printer"), "(none: (unchanged))");
    EXPECT_EQ(name_of(",winspool,LPT1:"), "(none: (unchanged))");
    // The comma is first once the blanks in front are gone.
    EXPECT_EQ(name_of("   ,winspool,LPT1:"), "(none: (unchanged))");
}

TEST(PrinterEntry, TheEntryEndsAtItsFirstNul) {
    EXPECT_EQ(name_of(std::string("Office Printer\0,winspool", 24)), "(none: (unchanged))");
    EXPECT_EQ(name_of(std::string("Office,winspool\0LPT1:", 21)), "Office");
}

TEST(PrinterEntry, ALongNameIsCutAt255Characters) {
    const std::string long_name(300, 'p');
    EXPECT_EQ(name_of(long_name + ",winspool,LPT1:"), std::string(255, 'p'));
    EXPECT_EQ(name_of(std::string(255, 'q') + ",x"), std::string(255, 'q'));
}

}  // namespace
}  // namespace vell
