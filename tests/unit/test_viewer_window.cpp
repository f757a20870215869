// The viewer window's portable decisions: the command table, what the
// toolbar and the menu hold for a document, the zoom box's entries and the
// window-text limit.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
#include "document/format.h"
#include "ui_text/labels.h"
#include "ui_text/window_text.h"
#include "viewer/commands.h"
#include "viewer/window_contents.h"

namespace vell {
namespace {

// A document of the process with only the header fields a test sets; the
// process's document is put back as it was.
class ViewerWindowTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = snapshot(); }
    void TearDown() override {
        Document& doc = the_document();
        std::copy(saved_.header, saved_.header + kHeaderSize, doc.header);
        doc.building = saved_.building;
        doc.base = saved_.base;
        set_window_label(doc, 0, std::string());
    }

    static Document& blank(int16_t email, int16_t fax, int16_t save) {
        Document& doc = the_document();
        std::fill(doc.header, doc.header + kHeaderSize, uint8_t(0));
        doc.building = false;
        doc.base = 0;
        set_header_i16(doc, hdr::kEmailAllowed, email);
        set_header_i16(doc, hdr::kFaxAllowed, fax);
        set_header_i16(doc, hdr::kSaveAllowed, save);
        return doc;
    }

private:
    struct Saved {
        uint8_t header[kHeaderSize];
        bool building;
        int32_t base;
    };
    static Saved snapshot() {
        Saved s;
        const Document& doc = the_document();
        std::copy(doc.header, doc.header + kHeaderSize, s.header);
        s.building = doc.building;
        s.base = doc.base;
        return s;
    }
    Saved saved_{};
};

std::vector<int> ids_of(const std::vector<ToolbarEntry>& entries) {
    std::vector<int> ids;
    for (const ToolbarEntry& e : entries) ids.push_back(e.command_id);
    return ids;
}

TEST(ViewerCommands, MenuAndToolbarIdsShareOneCommandEach) {
    const std::pair<int, int> pairs[] = {{701, 757}, {702, 751}, {703, 752}, {704, 753}, {705, 754},
                                         {706, 755}, {707, 756}, {708, 758}, {709, 759}, {710, 760}};
    std::vector<Command> seen;
    for (const auto& p : pairs) {
        const Command command = command_for_id(p.first);
        EXPECT_NE(command, Command::kNone) << p.first;
        EXPECT_EQ(command, command_for_id(p.second)) << p.first << " and " << p.second;
        for (Command other : seen) EXPECT_NE(other, command) << "one command per pair";
        seen.push_back(command);
    }
    EXPECT_EQ(command_for_id(702), Command::kClose);
    EXPECT_EQ(command_for_id(756), Command::kJump);
    EXPECT_EQ(command_for_id(701), Command::kPrint);
    EXPECT_EQ(command_for_id(711), Command::kEmailPdf);
    for (int id : {0, 2, 106, 107, 113, 700, 715, 750, 761})
        EXPECT_EQ(command_for_id(id), Command::kNone) << id;
}

TEST(ViewerCommands, OnlyOutputsRefuseWhileBuilding) {
    EXPECT_STREQ(building_refusal(Command::kPrint),
                 "You can't print until the document has finished building.");
    EXPECT_STREQ(building_refusal(Command::kEmail),
                 "You can't e-mail until the document has finished building.");
    EXPECT_STREQ(building_refusal(Command::kFax),
                 "You can't fax until the document has finished building.");
    EXPECT_STREQ(building_refusal(Command::kSave),
                 "You can't save this document until it has finished building.");
    for (Command c : {Command::kNone, Command::kClose, Command::kFirst, Command::kPrevious,
                      Command::kNext, Command::kLast, Command::kJump})
        EXPECT_EQ(building_refusal(c), nullptr);
}

TEST_F(ViewerWindowTest, ToolbarHoldsTheOptionalButtonsTheHeaderAllows) {
    const std::vector<int> always = {0, 751, 0, 752, 753, 754, 755, 756, 0, 757};
    EXPECT_EQ(ids_of(toolbar_entries(blank(0, 0, 0))), always);

    std::vector<int> all = always;
    all.insert(all.end(), {758, 759, 760});
    const std::vector<ToolbarEntry> entries = toolbar_entries(blank(1, -1, 2));
    EXPECT_EQ(ids_of(entries), all) << "any value but 0 offers the button";
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].command_id) continue;  // a separator
        EXPECT_EQ(entries[i].image, entries[i].command_id - 751) << i;
    }

    std::vector<int> fax_only = always;
    fax_only.push_back(759);
    EXPECT_EQ(ids_of(toolbar_entries(blank(0, 1, 0))), fax_only);
}

TEST_F(ViewerWindowTest, MenuLosesWhatIsNotOfferedOnceComplete) {
    EXPECT_EQ(pruned_menu_commands(blank(0, 0, 0)), (std::vector<int>{708, 711, 709, 710}));
    EXPECT_TRUE(pruned_menu_commands(blank(1, 1, 1)).empty());
    EXPECT_EQ(pruned_menu_commands(blank(1, 0, 1)), (std::vector<int>{709}));

    Document& embedded = blank(1, 1, 1);
    embedded.base = 4096;
    EXPECT_EQ(pruned_menu_commands(embedded), (std::vector<int>{710}))
        << "a document inside a self-extracting viewer is never saved";

    Document& building = blank(0, 0, 0);
    building.building = true;
    EXPECT_TRUE(pruned_menu_commands(building).empty()) << "nothing is pruned while building";
}

TEST_F(ViewerWindowTest, ZoomBoxEntriesFollowTheLabelsAndTheHeadersCode) {
    EXPECT_EQ(zoom_box_entries(),
              (std::vector<std::string>{"Fit Width", "Fit Window", "75%", "100%", "125%"}));
    set_window_label(11, "Ganze Seite");
    set_window_label(12, "Seitenbreite");
    EXPECT_EQ(zoom_box_entries(),
              (std::vector<std::string>{"Seitenbreite", "Ganze Seite", "75%", "100%", "125%"}));

    const std::pair<int32_t, int> codes[] = {{0x80, 1}, {0x100, 2}, {0x200, 3}, {0x400, 4},
                                             {0, 0},    {0x300, 0}, {0x800, 0}, {-1, 0},
                                             {0x81, 0}};
    for (const auto& c : codes) EXPECT_EQ(initial_zoom_entry(c.first), c.second) << c.first;
}

TEST(WindowText, TrimsAndCutsAt199) {
    EXPECT_EQ(window_text_value("  Page 3 of 12       "), "Page 3 of 12");
    EXPECT_EQ(window_text_value(std::string(250, 'x')).size(), 199u);
    EXPECT_EQ(window_text_value(" " + std::string(199, 'y') + "z"), std::string(199, 'y'));
    EXPECT_EQ(window_text_value(std::string("Fit\0Width", 9)), "Fit");
    EXPECT_EQ(window_text_value("    "), "");
}

}  // namespace
}  // namespace vell
