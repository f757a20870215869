#include "ui_text/labels.h"

#include "document/document.h"
#include "document/format.h"

namespace vell {

namespace {

const char* const kBuiltinLabels[kLabelCount] = {
    "&File",                                                       // 1
    "&Document",                                                   // 2
    "&Close",                                                      // 3
    "&First Page",                                                 // 4
    "P&revious Page",                                              // 5
    "&Next Page",                                                  // 6
    "&Last Page",                                                  // 7
    "&Jump to Page",                                               // 8
    "&Print",                                                      // 9
    "Zoom",                                                        // 10
    "Fit Window",                                                  // 11
    "Fit Width",                                                   // 12
    "< Document Index >",                                          // 13
    "Page",                                                        // 14
    "of",                                                          // 15
    "Jump to a page",                                              // 16
    "To which page would you like to jump?",                       // 17
    "&Cancel",                                                     // 18
    "&Ok",                                                         // 19
    "Password Required",                                           // 20
    "This document is password protected.\rPlease type in your password",  // 21
    "Invalid Password.",                                           // 22
    "Invalid Password.\rUnable to display document.",              // 23
    "&E-Mail",                                                     // 24
    "Fa&x",                                                        // 25
    "&Save",                                                       // 26
};

// The header slots of the labels a document can replace before any page is
// drawn, in the order they are applied.
struct HeaderOverride {
    int label;
    int offset;
};
const HeaderOverride kHeaderOverrides[] = {
    {20, hdr::kLabel20}, {21, hdr::kLabel21}, {22, hdr::kLabel22}, {23, hdr::kLabel23},
    {18, hdr::kLabel18}, {19, hdr::kLabel19}, {11, hdr::kLabel11}, {12, hdr::kLabel12},
};

// Menu commands of labels 3..9 and 24..26, indexed by label number.
int menu_command_of(int n) {
    static const int kCommands[kLabelCount + 1] = {
        0,   0,   0,    // 0, 1, 2 (1 and 2 are popups)
        702, 703, 704, 705, 706, 707, 701,  // 3..9
        0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,  0,  // 10..23
        708, 709, 710,  // 24..26
    };
    return n >= 0 && n <= kLabelCount ? kCommands[n] : 0;
}

struct LabelState {
    std::string text[kLabelCount + 1];  // index 0 unused
    LabelSink sink;
    LabelState() {
        for (int n = 1; n <= kLabelCount; ++n) text[n] = kBuiltinLabels[n - 1];
    }
};

LabelState& state() {
    static LabelState s;
    return s;
}

// Puts label n's text where the window shows it (menu popup, menu command
// or zoom label); labels shown nowhere else change nothing.
void show(int n, const std::string& text) {
    const LabelSink& sink = state().sink;
    if (n == 1 || n == 2) {
        if (sink.menu_popup_text) sink.menu_popup_text(sink.context, n - 1, text);
    } else if (int command = menu_command_of(n)) {
        if (sink.menu_command_text) sink.menu_command_text(sink.context, command, text);
    } else if (n == 10) {
        if (sink.zoom_label_text) sink.zoom_label_text(sink.context, text);
    }
}

void store_and_show(int n, const std::string& text) {
    state().text[n] = text;
    show(n, text);
}

void reset(const Document& doc) {
    LabelState& s = state();
    for (int n = 1; n <= kLabelCount; ++n) s.text[n] = kBuiltinLabels[n - 1];
    for (const HeaderOverride& o : kHeaderOverrides) {
        bool found = false;
        std::string text = read_label_override(doc, header_i32(doc, o.offset), &found);
        if (found) s.text[o.label] = text;
    }
    // The menu and the zoom label show the restored texts too (a reset from
    // a page record comes while the window exists; at start-up there is no
    // sink yet and this changes nothing).
    for (int n = 1; n <= kLabelCount; ++n) show(n, s.text[n]);
}

}  // namespace

const std::string& window_label(int n) {
    static const std::string kNone;
    return n >= 1 && n <= kLabelCount ? state().text[n] : kNone;
}

const char* builtin_label(int n) {
    return n >= 1 && n <= kLabelCount ? kBuiltinLabels[n - 1] : "";
}

void set_label_sink(const LabelSink& sink) { state().sink = sink; }

void set_window_label(const Document& doc, int n, const std::string& text) {
    if (n == 0) {
        reset(doc);
    } else if (n >= 1 && n <= kLabelCount && n != 22 && n != 23) {
        store_and_show(n, text);
    }
}

void set_window_label(int n, const std::string& text) {
    set_window_label(the_document(), n, text);
}

int label_menu_command(int n) { return menu_command_of(n); }

int tooltip_label(int toolbar_id) {
    static const int kTips[10] = {3, 4, 5, 6, 7, 8, 9, 24, 25, 26};
    return toolbar_id >= 751 && toolbar_id <= 760 ? kTips[toolbar_id - 751] : 0;
}

}  // namespace vell
