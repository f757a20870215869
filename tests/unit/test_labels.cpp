// The window labels: built-in texts, the header overrides of a document and
// their order, which numbers records may set, and the sink through which
// the viewer window shows a changed label.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
#include "document/format.h"
#include "ui_text/labels.h"
#include "vel_writer.h"

namespace vell {
namespace {

namespace fs = std::filesystem;

// A document written to a temporary file and opened with the reader.
class OpenedDocument {
public:
    explicit OpenedDocument(Bytes bytes) {
        std::random_device rd;
        path_ = fs::temp_directory_path() /
                ("vell-labels-" + std::to_string(rd()) + std::to_string(rd()) + ".vel");
        EXPECT_TRUE(write_file(path_.string(), bytes));
        EXPECT_TRUE(open_document(doc, path_.string(), 0));
        EXPECT_EQ(read_header(doc), HeaderCheck::kDocument);
    }
    ~OpenedDocument() {
        close_document(doc);
        fs::remove(path_);
    }
    Document doc;

private:
    fs::path path_;
};

Bytes document_with_labels(const std::vector<LabelOverridePlan>& labels) {
    DocumentPlan plan;
    plan.title = "Labels";
    plan.pages.push_back(PageBuilder().end_of_page().bytes());
    plan.labels = labels;
    return write_document(plan);
}

// Puts every label back to its built-in text and removes any sink.
class Labels : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        set_label_sink(LabelSink{});
        Document none;
        set_window_label(none, 0, "");
    }
};

TEST_F(Labels, BuiltInTexts) {
    EXPECT_EQ(window_label(1), "&File");
    EXPECT_EQ(window_label(13), "< Document Index >");
    EXPECT_EQ(window_label(25), "Fa&x");
    // The two-line texts break with a single carriage return.
    EXPECT_EQ(window_label(21),
              std::string("This document is password protected.") + '\r' + "Please type in your password");
    EXPECT_EQ(window_label(23), std::string("Invalid Password.") + '\r' + "Unable to display document.");
    for (int n = 1; n <= kLabelCount; ++n) {
        EXPECT_EQ(window_label(n), builtin_label(n)) << n;
        EXPECT_FALSE(window_label(n).empty()) << n;
        EXPECT_EQ(window_label(n).find('\n'), std::string::npos) << n;
    }
    EXPECT_EQ(window_label(0), "");
    EXPECT_EQ(window_label(27), "");
    EXPECT_STREQ(builtin_label(-1), "");
}

TEST_F(Labels, RecordsSetAllButThePasswordMessages) {
    Document none;
    for (int n = 1; n <= kLabelCount; ++n) set_window_label(none, n, "  text " + std::to_string(n));
    for (int n = 1; n <= kLabelCount; ++n) {
        if (n == 22 || n == 23)
            EXPECT_EQ(window_label(n), builtin_label(n)) << n;
        else  // stored as given, blanks included
            EXPECT_EQ(window_label(n), "  text " + std::to_string(n)) << n;
    }
    // Numbers outside the table change nothing and do not fail.
    set_window_label(none, -5, "x");
    set_window_label(none, 27, "x");
    set_window_label(none, 32767, "x");
    EXPECT_EQ(window_label(1), "  text 1");
}

TEST_F(Labels, ResetRestoresBuiltInTexts) {
    Document none;
    set_window_label(none, 6, "Weiter");
    set_window_label(none, 11, "Ganze Seite");
    set_window_label(none, 0, "ignored text");
    EXPECT_EQ(window_label(6), "&Next Page");
    EXPECT_EQ(window_label(11), "Fit Window");
}

TEST_F(Labels, HeaderOverridesReplaceTheirLabels) {
    OpenedDocument d(document_with_labels({
        {20, "Kennwort erforderlich"},
        {21, "Geschützt.\rBitte Kennwort eingeben"},
        {22, "Falsches Kennwort."},
        {23, "Falsches Kennwort.\rAbbruch."},
        {18, "&Abbrechen"},
        {19, "&OK"},
        {11, "Ganze Seite"},
        {12, "Seitenbreite"},
    }));
    set_window_label(d.doc, 0, "");
    EXPECT_EQ(window_label(20), "Kennwort erforderlich");
    EXPECT_EQ(window_label(21), "Geschützt.\rBitte Kennwort eingeben");
    // The header is the one way to replace the two password messages.
    EXPECT_EQ(window_label(22), "Falsches Kennwort.");
    EXPECT_EQ(window_label(23), "Falsches Kennwort.\rAbbruch.");
    EXPECT_EQ(window_label(18), "&Abbrechen");
    EXPECT_EQ(window_label(19), "&OK");
    EXPECT_EQ(window_label(11), "Ganze Seite");
    EXPECT_EQ(window_label(12), "Seitenbreite");
    EXPECT_EQ(window_label(9), "&Print");
}

TEST_F(Labels, ResetDropsEarlierChangesBeforeApplyingTheHeader) {
    OpenedDocument d(document_with_labels({{19, "&Weiter"}}));
    set_window_label(d.doc, 19, "from a page");
    set_window_label(d.doc, 4, "from a page");
    set_window_label(d.doc, 0, "");
    EXPECT_EQ(window_label(19), "&Weiter");
    EXPECT_EQ(window_label(4), "&First Page");
    EXPECT_EQ(window_label(20), "Password Required");
}

TEST_F(Labels, EachHeaderSlotDecidesItsLabel) {
    // Label 12's slot points at the record written for label 20: the slot,
    // not the number inside the record, decides which label changes.
    Bytes bytes = document_with_labels({{20, "shared text"}, {12, "twelve"}});
    int32_t pos20 = get_i32(bytes, hdr::kLabel20);
    put_i32(bytes.data(), bytes.size(), hdr::kLabel12, pos20);
    OpenedDocument d(bytes);
    set_window_label(d.doc, 0, "");
    EXPECT_EQ(window_label(20), "shared text");
    EXPECT_EQ(window_label(12), "shared text");
}

TEST_F(Labels, PositionsUpTo32AreIgnored) {
    // A record inside the header's title field at position 33 (file offset
    // 32): lead, label number, text length 3, "abc". Slot 20 points at it
    // with 33 and is read; slot 18 points one byte earlier with 32 and must
    // stay unread (read there, it would give a text of 768 bytes).
    Bytes bytes = document_with_labels({});
    const uint8_t record[] = {11, 0, 20, 0, 3, 0, 'a', 'b', 'c'};
    std::copy(std::begin(record), std::end(record), bytes.begin() + 32);
    put_i32(bytes.data(), bytes.size(), hdr::kLabel20, 33);
    put_i32(bytes.data(), bytes.size(), hdr::kLabel18, 32);
    put_i32(bytes.data(), bytes.size(), hdr::kLabel19, -40);
    OpenedDocument d(bytes);
    set_window_label(d.doc, 0, "");
    EXPECT_EQ(window_label(20), "abc");
    EXPECT_EQ(window_label(18), "&Cancel");
    EXPECT_EQ(window_label(19), "&Ok");
}

// Records what the window would show.
struct SinkLog {
    std::vector<std::pair<std::string, int>> calls;  // kind, position or id
    std::vector<std::string> texts;
};

LabelSink recording_sink(SinkLog* log) {
    LabelSink sink;
    sink.context = log;
    sink.menu_popup_text = [](void* c, int position, const std::string& text) {
        static_cast<SinkLog*>(c)->calls.emplace_back("popup", position);
        static_cast<SinkLog*>(c)->texts.push_back(text);
    };
    sink.menu_command_text = [](void* c, int id, const std::string& text) {
        static_cast<SinkLog*>(c)->calls.emplace_back("command", id);
        static_cast<SinkLog*>(c)->texts.push_back(text);
    };
    sink.zoom_label_text = [](void* c, const std::string& text) {
        static_cast<SinkLog*>(c)->calls.emplace_back("zoom", 0);
        static_cast<SinkLog*>(c)->texts.push_back(text);
    };
    return sink;
}

TEST_F(Labels, ChangedLabelsReachTheWindow) {
    SinkLog log;
    set_label_sink(recording_sink(&log));
    Document none;
    const std::vector<std::pair<int, std::pair<std::string, int>>> expected = {
        {1, {"popup", 0}},     {2, {"popup", 1}},     {3, {"command", 702}},
        {4, {"command", 703}}, {5, {"command", 704}}, {6, {"command", 705}},
        {7, {"command", 706}}, {8, {"command", 707}}, {9, {"command", 701}},
        {10, {"zoom", 0}},     {24, {"command", 708}}, {25, {"command", 709}},
        {26, {"command", 710}},
    };
    for (const auto& e : expected) {
        log.calls.clear();
        log.texts.clear();
        set_window_label(none, e.first, " label ");
        ASSERT_EQ(log.calls.size(), 1u) << e.first;
        EXPECT_EQ(log.calls[0], e.second) << e.first;
        // The window gets the text as stored; trimming is the window's job.
        EXPECT_EQ(log.texts[0], " label ");
    }
    // Stored-only labels and ignored numbers show nothing.
    log.calls.clear();
    for (int n : {11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 27})
        set_window_label(none, n, "quiet");
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(Labels, ResetReachesTheWindowToo) {
    SinkLog log;
    Document none;
    set_window_label(none, 6, "Weiter");
    set_window_label(none, 10, "Vergrößerung");
    set_label_sink(recording_sink(&log));
    set_window_label(none, 0, "");
    ASSERT_EQ(log.calls.size(), 13u) << "every label the window shows";
    for (size_t i = 0; i < log.calls.size(); ++i) {
        if (log.calls[i] == std::make_pair(std::string("command"), 705)) {
            EXPECT_EQ(log.texts[i], "&Next Page");
        } else if (log.calls[i].first == "zoom") {
            EXPECT_EQ(log.texts[i], "Zoom");
        }
    }
}

TEST(LabelMaps, TooltipsAndMenuCommandsShareTheirLabels) {
    // Toolbar buttons 751..760 and menu commands share one handler each:
    // 751 Close/702, 752..756 navigation/703..707, 757 Print/701, 758..760
    // E-Mail, Fax, Save/708..710. A tip and its menu item show one label.
    const int menu_of_button[10] = {702, 703, 704, 705, 706, 707, 701, 708, 709, 710};
    for (int id = 751; id <= 760; ++id) {
        int label = tooltip_label(id);
        ASSERT_GT(label, 0) << id;
        EXPECT_EQ(label_menu_command(label), menu_of_button[id - 751]) << id;
    }
    EXPECT_EQ(tooltip_label(750), 0);
    EXPECT_EQ(tooltip_label(761), 0);
    EXPECT_EQ(label_menu_command(10), 0);
    EXPECT_EQ(label_menu_command(1), 0);
}

}  // namespace
}  // namespace vell
