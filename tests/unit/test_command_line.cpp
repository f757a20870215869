// The command line: the text after the program's name, the whole-line
// switches, the prefix switches with their blank, and the self-extracting
// viewer's own path.
#include <gtest/gtest.h>

#include <string>

#include "startup/command_line.h"

namespace vell {
namespace {

const std::string kSelf = "C:\\Apps\\report viewer.exe";

TEST(CommandText, FollowsTheProgramName) {
    EXPECT_EQ(command_text_from_command_line("\"C:\\Program Files\\vell.exe\" /P a.vel"), "/P a.vel");
    EXPECT_EQ(command_text_from_command_line("vell.exe   -bv  my doc.vel   "), "-bv  my doc.vel");
    EXPECT_EQ(command_text_from_command_line("vell.exe\t-SHOWREG"), "-SHOWREG");
    EXPECT_EQ(command_text_from_command_line("\"C:\\vell.exe\""), "");
    EXPECT_EQ(command_text_from_command_line("vell.exe"), "");
    EXPECT_EQ(command_text_from_command_line(""), "");
    // A quoted name runs to its closing mark even without a blank after it.
    EXPECT_EQ(command_text_from_command_line("\"vell.exe\"report.vel"), "report.vel");
    // An unterminated quotation mark takes the whole line as the name.
    EXPECT_EQ(command_text_from_command_line("\"C:\\vell.exe report.vel"), "");
    // Quotation marks around the path belong to the path.
    EXPECT_EQ(command_text_from_command_line("vell.exe \"a b.vel\""), "\"a b.vel\"");
}

TEST(CommandText, FollowsTheProgramsOwnPathWithBlanksUnquoted) {
    const std::string self = "C:\\Program Files\\vell\\vell.exe";
    EXPECT_EQ(command_text_from_command_line("C:\\Program Files\\vell\\vell.exe -PA C:\\a b.vel", self),
              "-PA C:\\a b.vel");
    EXPECT_EQ(command_text_from_command_line("c:\\program files\\vell\\VELL C:\\a.vel", self), "C:\\a.vel");
    EXPECT_EQ(command_text_from_command_line("C:\\Program Files\\vell\\vell.exe", self), "");
    EXPECT_EQ(command_text_from_command_line("\"" + self + "\" C:\\a.vel", self), "C:\\a.vel");
    // Another name is cut at its first blank as before.
    EXPECT_EQ(command_text_from_command_line("vell.exe C:\\a.vel", self), "C:\\a.vel");
}

TEST(WholeLineSwitch, RecognisedInAnyCaseWithEitherMark) {
    EXPECT_EQ(whole_line_switch("-INSTALL"), StartAction::kInstall);
    EXPECT_EQ(whole_line_switch("/install"), StartAction::kInstall);
    EXPECT_EQ(whole_line_switch("-InstallVerbose"), StartAction::kInstallVerbose);
    EXPECT_EQ(whole_line_switch("/INSTALLVERBOSE"), StartAction::kInstallVerbose);
    EXPECT_EQ(whole_line_switch("-showreg"), StartAction::kShowRegistry);
    EXPECT_EQ(whole_line_switch("/ShowReg"), StartAction::kShowRegistry);
}

TEST(WholeLineSwitch, MustBeTheWholeText) {
    EXPECT_EQ(whole_line_switch("-INSTALL a.vel"), StartAction::kOpenDocument);
    EXPECT_EQ(whole_line_switch("-INSTAL"), StartAction::kOpenDocument);
    EXPECT_EQ(whole_line_switch("INSTALL"), StartAction::kOpenDocument);
    EXPECT_EQ(whole_line_switch("\\INSTALL"), StartAction::kOpenDocument);
    EXPECT_EQ(whole_line_switch("--INSTALL"), StartAction::kOpenDocument);
    EXPECT_EQ(whole_line_switch("-SHOWREGISTRY"), StartAction::kOpenDocument);
    EXPECT_EQ(whole_line_switch(""), StartAction::kOpenDocument);
}

TEST(PrefixSwitch, EachSetsItsFlagsAndCutsItself) {
    StartRequest p = apply_prefix_switches("/p report.vel", false);
    EXPECT_TRUE(p.print);
    EXPECT_FALSE(p.no_dialog_print);
    EXPECT_EQ(p.path, "report.vel");

    StartRequest pa = apply_prefix_switches("-Pa C:\\r.vel", false);
    EXPECT_TRUE(pa.print);
    EXPECT_TRUE(pa.no_dialog_print);
    EXPECT_EQ(pa.path, "C:\\r.vel");

    StartRequest f = apply_prefix_switches("/F r.vel", false);
    EXPECT_TRUE(f.fax);
    EXPECT_FALSE(f.print || f.email || f.building);
    EXPECT_EQ(f.path, "r.vel");

    StartRequest e = apply_prefix_switches("-e r.vel", false);
    EXPECT_TRUE(e.email);
    EXPECT_FALSE(e.print || e.fax || e.building);

    StartRequest bv = apply_prefix_switches("/BV r.vel", false);
    EXPECT_TRUE(bv.building);
    EXPECT_FALSE(bv.print || bv.fax || bv.email);
    EXPECT_EQ(bv.path, "r.vel");
}

TEST(PrefixSwitch, ThePathKeepsInnerBlanksAndQuotes) {
    StartRequest r = apply_prefix_switches("-bv  C:\\My Reports\\q 1.vel", false);
    EXPECT_TRUE(r.building);
    EXPECT_EQ(r.path, "C:\\My Reports\\q 1.vel");

    StartRequest q = apply_prefix_switches("/P \"C:\\a b.vel\"", false);
    EXPECT_TRUE(q.print);
    EXPECT_EQ(q.path, "\"C:\\a b.vel\"");
}

TEST(PrefixSwitch, WithoutItsBlankTheSwitchIsPartOfThePath) {
    for (const char* text : {"/Preport.vel", "/P", "/PA", "-BV", "/E", "-Freport.vel", "/PAreport.vel",
                             "/X report.vel", "P report.vel", "/BVreport.vel"}) {
        StartRequest r = apply_prefix_switches(text, false);
        EXPECT_EQ(r.path, text) << text;
        EXPECT_FALSE(r.print || r.no_dialog_print || r.fax || r.email || r.building) << text;
    }
}

TEST(PrefixSwitch, OnlyTheFirstSwitchApplies) {
    StartRequest r = apply_prefix_switches("/P /BV r.vel", false);
    EXPECT_TRUE(r.print);
    EXPECT_FALSE(r.building);
    EXPECT_EQ(r.path, "/BV r.vel");

    // A switch followed by blanks only leaves an empty path.
    EXPECT_EQ(apply_prefix_switches("/P    ", false).path, "");
}

TEST(PrefixSwitch, SelfExtractingViewerNeverSendsButStillPrints) {
    StartRequest e = apply_prefix_switches("/E C:\\v.exe", true);
    EXPECT_FALSE(e.email);
    EXPECT_EQ(e.path, "C:\\v.exe");

    StartRequest f = apply_prefix_switches("-F C:\\v.exe", true);
    EXPECT_FALSE(f.fax);
    EXPECT_EQ(f.path, "C:\\v.exe");

    StartRequest p = apply_prefix_switches("/P C:\\v.exe", true);
    EXPECT_TRUE(p.print);
    EXPECT_EQ(p.path, "C:\\v.exe");
}

TEST(Interpret, NothingNamedAsksOnlyWithoutADocumentOfOurOwn) {
    EXPECT_EQ(interpret_command_text("", 0, kSelf).action, StartAction::kOpenDialog);
    EXPECT_EQ(interpret_command_text("   ", 0, kSelf).action, StartAction::kOpenDialog);

    StartRequest own = interpret_command_text("", 40000, kSelf);
    EXPECT_EQ(own.action, StartAction::kOpenDocument);
    EXPECT_EQ(own.path, kSelf);
    EXPECT_FALSE(own.print || own.email || own.fax || own.building);
}

TEST(Interpret, SelfExtractingViewerOpensItself) {
    StartRequest e = interpret_command_text("/E", 40000, kSelf);
    EXPECT_EQ(e.action, StartAction::kOpenDocument);
    EXPECT_EQ(e.path, kSelf);
    EXPECT_FALSE(e.email);

    StartRequest p = interpret_command_text("/p", 40000, kSelf);
    EXPECT_TRUE(p.print);
    EXPECT_EQ(p.path, kSelf);

    // Anything else becomes a path with the program's own path appended.
    StartRequest other = interpret_command_text("a.vel", 40000, kSelf);
    EXPECT_EQ(other.path, "a.vel " + kSelf);
}

TEST(Interpret, WholeLineSwitchesComeBeforeTheOwnPath) {
    EXPECT_EQ(interpret_command_text("-install", 0, kSelf).action, StartAction::kInstall);
    EXPECT_EQ(interpret_command_text("-install", 40000, kSelf).action, StartAction::kInstall);
    EXPECT_EQ(interpret_command_text("/SHOWREG", 0, kSelf).action, StartAction::kShowRegistry);
}

TEST(Interpret, OrdinaryStartTakesTheTextAsItIs) {
    StartRequest r = interpret_command_text("-BV  C:\\x y.vel", 0, kSelf);
    EXPECT_EQ(r.action, StartAction::kOpenDocument);
    EXPECT_TRUE(r.building);
    EXPECT_EQ(r.path, "C:\\x y.vel");

    StartRequest plain = interpret_command_text("C:\\r.vel", 0, kSelf);
    EXPECT_EQ(plain.path, "C:\\r.vel");
    EXPECT_FALSE(plain.print || plain.building);
}

}  // namespace
}  // namespace vell
