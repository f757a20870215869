#include "convert.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "document/container.h"
#include "document/document.h"
#include "document/password_check.h"
#include "output_file.h"
#include "page_writers.h"
#include "render/interpreter.h"
#include "render/pictures.h"
#include "render/records.h"
#include "render/units.h"
#include "ui_text/labels.h"

namespace vell {

void report(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "vellconvert: %s\n", line.c_str());
}

namespace {

int open_input(const ConvertOptions& o, Document& doc) {
    if (!file_exists(o.input) || !open_document(doc, o.input, self_extract_base(o.input))) {
        report(o.input + ": cannot be opened for reading");
        return kConvertInput;
    }
    if (read_header(doc) != HeaderCheck::kDocument) {
        // The viewer's own words for a file that is not a document.
        report("Invalid File: " + o.input + "\rThis file isn't a vell document.");
        return kConvertInput;
    }
    if (too_many_pages(doc)) {
        report(o.input + ": the document claims more pages than a document can have");
        return kConvertInput;
    }
    read_page_index(doc);
    // The password dialog's texts, with the document's own replacements.
    set_window_label(doc, 0, std::string());
    return kConvertOk;
}

// The first line of the password file (standard input for "-"), so that
// the password stays out of the process list.
bool read_password_file(const std::string& name, std::string* password) {
    std::ifstream file;
    if (name != "-") file.open(name, std::ios::binary);
    std::istream& in = name == "-" ? std::cin : file;
    if (!in || !std::getline(in, *password)) return false;
    if (!password->empty() && password->back() == '\r') password->pop_back();
    return true;
}

int check_password(const ConvertOptions& given, const Document& doc) {
    if (header_i16(doc, hdr::kPasswordLength) <= 0) return kConvertOk;
    ConvertOptions o = given;
    if (!o.password_file.empty()) {
        if (!read_password_file(o.password_file, &o.password)) {
            report(o.password_file + ": cannot read a password from it");
            return kConvertPassword;
        }
        o.has_password = true;
    }
    if (!o.has_password) {
        report(o.input + ": " + window_label(21) + "\r(--password or --password-file)");
        return kConvertPassword;
    }
    if (!password_matches(doc, o.password)) {
        report(o.input + ": " + window_label(23));
        return kConvertPassword;
    }
    return kConvertOk;
}

// The document is never written over: not through the same path, another
// path, a link or a page name that comes out as it.
bool output_is_input(const ConvertOptions& o, const std::vector<int32_t>& pages) {
    for (const std::string& name : output_names(o, pages)) {
        if (!same_file(o.input, name)) continue;
        report(name + (name == o.output ? "" : " (from " + o.output + ")") + " is the document " +
               o.input + "; it is never written over: name another output");
        return true;
    }
    return false;
}

// Options that do nothing for the format say so rather than pass silently.
void tell_unused_options(const ConvertOptions& o) {
    if (o.format == OutputFormat::kPng || o.format == OutputFormat::kSvg) return;
    const char* what = o.format == OutputFormat::kPdf ? "PDF: its pages are drawn as printed" : "text";
    if (o.dpi_given) report(std::string("--dpi does not apply to ") + what);
    if (o.zoom_given) report(std::string("--zoom does not apply to ") + what);
}

// The system's files, but a signal that ends the run also removes the
// temporary files that embedded pictures are drawn from.
class FilesRemovedOnSignals : public FileSystem {
public:
    std::string temp_path() override { return system_file_system().temp_path(); }
    bool exists(const std::string& path) override { return system_file_system().exists(path); }
    bool create_new(const std::string& path, File* file) override {
        if (!system_file_system().create_new(path, file)) return false;
        remove_on_signals(path);
        return true;
    }
    bool remove(const std::string& path) override {
        const bool removed = system_file_system().remove(path);
        forget_on_signals(path);
        return removed;
    }
};

std::string& refusing_input() {
    static std::string input;
    return input;
}

// Told once per run: the first picture file a page asks for.
void refuse_picture_file(const std::string& path) {
    static bool told = false;
    if (told) return;
    told = true;
    report(refusing_input() + ": picture files are left out (--no-file-pictures), such as \"" + path +
           "\"");
}

}  // namespace

std::string page_damage(Document& doc, int32_t page) {
    const PageSpan span = page_span(doc, page);
    if (span.length < int32_t(kPageRecordsOffset)) return "its place in the page index is wrong";
    if (doc.page_number != page) load_page(doc, page);
    if (doc.page.size() < size_t(span.length)) return "the file ends inside it";
    PageRecord record;
    size_t at = kPageRecordsOffset;
    for (;;) {
        const Decoded decoded = decode_record(doc.page.data(), doc.page.size(), at, &record);
        if (decoded == Decoded::kEndOfPage) return std::string();
        if (decoded == Decoded::kUnknownOpcode) return "it holds a record of an unknown kind";
        if (decoded == Decoded::kMalformed || record.cut_short)
            return "a record runs past the end of the page";
        at = record.next;
    }
}

int run_convert(const ConvertOptions& o) {
    Document& doc = the_document();
    int status = open_input(o, doc);
    if (status == kConvertOk) status = check_password(o, doc);
    if (status != kConvertOk) {
        close_document(doc);
        return status;
    }
    const int32_t count = page_count(doc);
    std::vector<int32_t> pages;
    std::string error;
    if (count < 1) {
        report(o.input + ": the document has no pages");
        status = kConvertInput;
    } else if (!parse_page_list(o.pages.empty() ? "1-" : o.pages, count, &pages, &error)) {
        report(o.input + ": " + error);
        status = kConvertUsage;
    } else if (o.output == "-" && pages.size() > 1 &&
               (o.format == OutputFormat::kPng || o.format == OutputFormat::kSvg)) {
        report("several pages cannot go to standard output as pictures; name a file");
        status = kConvertUsage;
    } else if (output_is_input(o, pages)) {
        status = kConvertUsage;
    }
    if (status == kConvertOk) {
        tell_unused_options(o);
        // Tools have no one to show notices to; damaged pages are told below.
        render_hooks().show_notice = nullptr;
        render_hooks().picture_notice = report;
        render_hooks().fit_page_area = nullptr;
        static FilesRemovedOnSignals picture_files;
        render_hooks().files = &picture_files;
        refusing_input() = o.input;
        render_hooks().refuse_picture_file = o.file_pictures ? nullptr : refuse_picture_file;
        initialise_display_units();
        status = write_pages(o, doc, pages);
    }
    close_document(doc);
    return status;
}

}  // namespace vell
