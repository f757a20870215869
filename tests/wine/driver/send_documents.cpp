// Documents with e-mail and fax settings for the e-mail, fax and save
// cases, written with the project's own document writer.
#include <cstdio>
#include <stdexcept>

#include "driver.h"
#include "vel_writer.h"

namespace vtdriver {

namespace {

// A one-page titled document. Its allowed fields stay 0 in the file even
// where it carries settings: the viewer sets them in memory only, and the
// tests check that they never reach the file.
vell::DocumentPlan base_spec(const std::string& title) {
    vell::DocumentPlan plan;
    plan.title = title;
    plan.save_allowed = 1;
    plan.pages.push_back(vell::PageBuilder()
                             .font(0, 12, 0, "Arial")
                             .aligned_text(1, 1, 0, "vtdriver send test page")
                             .end_of_page()
                             .bytes());
    return plan;
}

void with_email(vell::DocumentPlan& plan, int32_t show_dialog, int32_t attach_as_viewer) {
    plan.has_email = true;
    plan.email.show_dialog = show_dialog;
    plan.email.attach_as_viewer = attach_as_viewer;
    plan.email.profile = " Office ";
    plan.email.password = "secret";
    plan.email.names = "Ann Archer;Bob Baker";
    plan.email.addresses = "ann@example.org;bob@example.org";
    plan.email.subject = " Monthly figures ";
    plan.email.text = "Here are the figures.\r\nRegards";
}

void with_fax(vell::DocumentPlan& plan, int32_t show_dialog, const std::string& recipients) {
    plan.has_fax = true;
    plan.fax.show_dialog = show_dialog;
    plan.fax.profile = "Fax Line";
    plan.fax.password = "";
    plan.fax.recipients = recipients;
    plan.fax.subject = "Order form";
    plan.fax.text = "Please sign and return.";
}

struct SendKind {
    const char* name;
    vell::DocumentPlan (*make)();
};

const SendKind kSendKinds[] = {
    // Sent as its own .vel file, recipients given, no dialog; it asks to
    // be deleted when the viewer ends.
    {"email-vel", [] {
         vell::DocumentPlan s = base_spec("Quarterly Report");
         s.delete_when_closed = 1;
         with_email(s, 0, 0);
         return s;
     }},
    // The same, kept when the viewer ends, for byte comparisons.
    {"email-vel-kept", [] {
         vell::DocumentPlan s = base_spec("Quarterly Report");
         with_email(s, 0, 0);
         return s;
     }},
    // Sent as a self-extracting viewer through the mail system's dialog.
    {"email-exe", [] {
         vell::DocumentPlan s = base_spec("Quarterly Report");
         with_email(s, 1, 1);
         return s;
     }},
    // A title with ";" in it, sent as its .vel file.
    {"email-semicolon", [] {
         vell::DocumentPlan s = base_spec("Sales; Final");
         with_email(s, 0, 0);
         return s;
     }},
    // Fax without the dialog: one entry without its prefix, one with a
    // lower-case one.
    {"fax", [] {
         vell::DocumentPlan s = base_spec("Order Form");
         with_fax(s, 0, "Zed Zimmer@555-0100;fax:Amy Adams@555-0199");
         return s;
     }},
    // Fax through the dialog, one recipient to start with.
    {"fax-dialog", [] {
         vell::DocumentPlan s = base_spec("Order Form");
         with_fax(s, 1, "FAX:Mia Moss@555-0111");
         return s;
     }},
    // A recipient with a lower-case prefix, through the dialog.
    {"fax-lower-dialog", [] {
         vell::DocumentPlan s = base_spec("Order Form");
         with_fax(s, 1, "fax:Amy Adams@555-0199");
         return s;
     }},
    // Fax settings without recipients and without the dialog flag: the
    // dialog opens all the same, with an empty list.
    {"fax-empty", [] {
         vell::DocumentPlan s = base_spec("Order Form");
         with_fax(s, 0, "");
         return s;
     }},
    // Save and e-mail as PDF: Letter, A4 landscape and Legal, one face
    // each, with the e-mail settings.
    {"pdf-papers", [] {
         vell::DocumentPlan s;
         s.title = "Three Papers";
         s.save_allowed = 1;
         with_email(s, 0, 0);
         s.pages.push_back(vell::PageBuilder(1, 0).font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "First on Letter").end_of_page().bytes());
         s.pages.push_back(vell::PageBuilder(9, 1).font(1, 12, 0, "Times New Roman").aligned_text(1, 1, 0, "Second on A4 landscape").end_of_page().bytes());
         s.pages.push_back(vell::PageBuilder(5, 0).font(0, 12, 0, "Courier New").aligned_text(1, 13, 0, "Third at the foot of Legal").end_of_page().bytes());
         return s;
     }},
    // The same as a received copy.
    {"pdf-copy", [] {
         vell::DocumentPlan s = base_spec("Three Papers");
         with_email(s, 0, 0);
         s.copy_flag = 1;
         return s;
     }},
    // A sound first page and a second one with a record of an unknown kind.
    {"pdf-damaged", [] {
         vell::DocumentPlan s = base_spec("Damaged Report");
         with_email(s, 0, 0);
         s.pages.push_back(vell::PageBuilder().aligned_text(1, 1, 0, "before").raw({18, 0}).end_of_page().bytes());
         return s;
     }},
};

}  // namespace

int cmd_make_send_doc(const Args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vtdriver make-send-doc KIND PATH\n");
        return 64;
    }
    for (const SendKind& kind : kSendKinds) {
        if (args[0] != kind.name) continue;
        try {
            if (vell::write_file(args[1], vell::write_document(kind.make()))) return 0;
            std::fprintf(stderr, "vtdriver make-send-doc: cannot write %s\n", args[1].c_str());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vtdriver make-send-doc: %s\n", e.what());
        }
        return 1;
    }
    std::fprintf(stderr, "vtdriver make-send-doc: unknown kind %s\n", args[0].c_str());
    return 64;
}

}  // namespace vtdriver
