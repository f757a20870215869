// Test documents for the Wine tests, written with the project's own document
// writer so that these tests need no other tool.
#include <cstdio>
#include <stdexcept>

#include "document/bytes.h"
#include "document/container.h"
#include "document/file_io.h"
#include "document/format.h"
#include "driver.h"
#include "hostile_documents.h"
#include "vel_writer.h"

namespace vtdriver {

namespace {

vell::Bytes one_page_document(const std::string& title, int16_t delete_when_closed) {
    vell::DocumentPlan plan;
    plan.title = title;
    plan.delete_when_closed = delete_when_closed;
    plan.pages.push_back(vell::PageBuilder()
                             .font(0, 12, 0, "Arial")
                             .aligned_text(1, 1, 0, "vtdriver test page")
                             .end_of_page()
                             .bytes());
    return vell::write_document(plan);
}

struct Kind {
    const char* name;
    vell::Bytes (*make)();
};

const Kind kKinds[] = {
    // A complete one-page document with a title.
    {"plain", [] { return one_page_document("Quarterly Report", 0); }},
    // The same without a title: message boxes fall back to the program name.
    {"untitled", [] { return one_page_document("", 0); }},
    // A document that asks to be deleted when the viewer ends.
    {"delete-when-closed", [] { return one_page_document("Scratch Report", 1); }},
    // Not a document, though every byte but the signature is that of a
    // titled document with the delete-when-closed flag set.
    {"not-document", [] {
         vell::Bytes bytes = one_page_document("Scratch Report", 1);
         bytes[3] = 'B';  // "300B"
         return bytes;
     }},
    // A text file.
    {"text", [] {
         vell::Bytes bytes;
         vell::append_text(bytes, "This is a plain text file, not a report.\r\n");
         return bytes;
     }},
    // A complete document whose header announces more pages than the page
    // numbers reach; it also asks to be deleted, which must not happen.
    {"too-many-pages", [] {
         vell::Bytes bytes = one_page_document("Huge Report", 1);
         vell::put_i32(bytes.data(), bytes.size(), vell::hdr::kPageCount, 40000);
         return bytes;
     }},
};

}  // namespace

std::vector<std::string> test_document_kinds() {
    std::vector<std::string> names;
    for (const Kind& k : kKinds) names.push_back(k.name);
    for (const std::string& name : print_document_kinds()) names.push_back(name);
    for (const std::string& name : password_document_kinds()) names.push_back(name);
    for (const std::string& name : page_image_document_kinds()) names.push_back(name);
    for (const vell::HostileDocument& doc : vell::hostile_documents(true))
        names.push_back("hostile-" + doc.name);
    return names;
}

bool make_test_document(const std::string& kind, const std::string& path, std::string* error) {
    for (const Kind& k : kKinds) {
        if (kind != k.name) continue;
        try {
            if (vell::write_file(path, k.make())) return true;
            *error = "cannot write " + path;
        } catch (const std::exception& e) {
            *error = e.what();
        }
        return false;
    }
    vell::Bytes print_bytes;
    if (print_document_bytes(kind, &print_bytes)) {
        if (vell::write_file(path, print_bytes)) return true;
        *error = "cannot write " + path;
        return false;
    }
    vell::Bytes password_bytes;
    if (password_document_bytes(kind, &password_bytes)) {
        if (vell::write_file(path, password_bytes)) return true;
        *error = "cannot write " + path;
        return false;
    }
    vell::Bytes page_image_bytes;
    if (page_image_document_bytes(kind, &page_image_bytes)) {
        if (vell::write_file(path, page_image_bytes)) return true;
        *error = "cannot write " + path;
        return false;
    }
    // The small hostile set (huge widths, pictures claiming gigapixels,
    // positions at the float range's edges), named hostile-NAME.
    for (const vell::HostileDocument& doc : vell::hostile_documents(true)) {
        if (kind != "hostile-" + doc.name) continue;
        if (vell::write_file(path, doc.bytes)) return true;
        *error = "cannot write " + path;
        return false;
    }
    *error = "unknown kind " + kind;
    return false;
}

int cmd_make_doc(const Args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vtdriver make-doc KIND PATH\n");
        return 64;
    }
    std::string error;
    if (!make_test_document(args[0], args[1], &error)) {
        std::fprintf(stderr, "vtdriver make-doc: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// A self-extracting viewer: STUB (vell.exe) followed by a test document,
// built by the viewer's own container code.
int cmd_make_sfx(const Args& args) {
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: vtdriver make-sfx KIND STUB OUTPUT\n");
        return 64;
    }
    const std::string document = args[2] + ".document.vel";
    std::string error;
    if (!make_test_document(args[0], document, &error)) {
        std::fprintf(stderr, "vtdriver make-sfx: %s\n", error.c_str());
        return 1;
    }
    vell::delete_file(args[2]);
    int16_t status = vell::build_self_extracting(document, args[1], args[2]);
    vell::delete_file(document);
    if (status != vell::kBuildOk) {
        std::fprintf(stderr, "vtdriver make-sfx: build status %d\n", status);
        return 1;
    }
    return 0;
}

}  // namespace vtdriver
