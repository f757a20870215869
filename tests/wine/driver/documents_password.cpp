// Password-protected test documents for the password dialog's cases.
#include <string>
#include <vector>

#include "document/bytes.h"
#include "driver.h"
#include "vel_writer.h"

namespace vtdriver {

namespace {

vell::DocumentPlan protected_spec(const std::string& title, const std::string& password) {
    vell::DocumentPlan plan;
    plan.title = title;
    plan.password = password;
    plan.pages.push_back(vell::PageBuilder()
                             .font(0, 12, 0, "Arial")
                             .aligned_text(1, 1, 0, "A protected page")
                             .end_of_page()
                             .bytes());
    return plan;
}

struct Kind {
    const char* name;
    vell::Bytes (*make)();
};

const Kind kKinds[] = {
    // Password "tiger".
    {"password", [] { return vell::write_document(protected_spec("Secret Report", "tiger")); }},
    // The longest password a document can have: 20 characters.
    {"password-20", [] {
         return vell::write_document(protected_spec("Long Secret", "abcdefghijklmnopqrst"));
     }},
    // Password "tiger", with the dialog's texts and both messages replaced
    // through the header.
    {"password-labels", [] {
         vell::DocumentPlan plan = protected_spec("Geheimbericht", "tiger");
         plan.labels = {
             {20, "Kennwort erforderlich"},
             {21, "Dieses Dokument ist geschuetzt.\rBitte Kennwort eingeben"},
             {19, "&Weiter"},
             {18, "&Abbrechen"},
             {22, "Falsches Kennwort."},
             {23, "Falsches Kennwort.\rDas Dokument bleibt zu."},
         };
         return vell::write_document(plan);
     }},
};

}  // namespace

std::vector<std::string> password_document_kinds() {
    std::vector<std::string> names;
    for (const Kind& k : kKinds) names.push_back(k.name);
    return names;
}

bool password_document_bytes(const std::string& kind, std::vector<unsigned char>* bytes) {
    for (const Kind& k : kKinds) {
        if (kind != k.name) continue;
        *bytes = k.make();
        return true;
    }
    return false;
}

}  // namespace vtdriver
