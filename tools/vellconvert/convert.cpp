#include "convert.h"

#include <cstdio>
#include <string>
#include <vector>

#include "document/container.h"
#include "document/document.h"
#include "document/password_check.h"
#include "page_writers.h"
#include "render/interpreter.h"
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

int check_password(const ConvertOptions& o, const Document& doc) {
    if (header_i16(doc, hdr::kPasswordLength) <= 0) return kConvertOk;
    if (!o.has_password) {
        report(o.input + ": " + window_label(21) + "\r(--password)");
        return kConvertPassword;
    }
    if (!password_matches(doc, o.password)) {
        report(o.input + ": " + window_label(23));
        return kConvertPassword;
    }
    return kConvertOk;
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
    }
    if (status == kConvertOk) {
        // Tools have no one to show notices to; damaged pages are told below.
        render_hooks().show_notice = nullptr;
        render_hooks().picture_notice = report;
        render_hooks().fit_page_area = nullptr;
        initialise_display_units();
        status = write_pages(o, doc, pages);
    }
    close_document(doc);
    return status;
}

}  // namespace vell
