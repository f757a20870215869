#include "options.h"

#include <cctype>
#include <cstdlib>

namespace vell {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool format_named(const std::string& name, OutputFormat* format) {
    const std::string n = lower(name);
    if (n == "pdf") *format = OutputFormat::kPdf;
    else if (n == "png") *format = OutputFormat::kPng;
    else if (n == "svg") *format = OutputFormat::kSvg;
    else if (n == "txt") *format = OutputFormat::kTxt;
    else return false;
    return true;
}

// Where the extension of the file name starts, or npos.
size_t extension_at(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
    return dot;
}

bool whole_number(const std::string& text, long* value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    *value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

bool valid_name_pattern(const std::string& output) {
    for (size_t i = 0; i < output.size(); ++i) {
        if (output[i] != '%') continue;
        if (i + 1 < output.size() && (output[i + 1] == 'd' || output[i + 1] == '%')) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

std::string page_output_name(const std::string& output, int32_t page, bool several) {
    std::string name;
    bool numbered = false;
    for (size_t i = 0; i < output.size(); ++i) {
        const char next = i + 1 < output.size() ? output[i + 1] : 0;
        if (output[i] == '%' && (next == 'd' || next == '%')) {
            numbered = numbered || next == 'd';
            name += next == 'd' ? std::to_string(page) : "%";
            ++i;
        } else {
            name += output[i];
        }
    }
    if (numbered || !several) return name;
    const std::string number = "-" + std::to_string(page);
    const size_t dot = extension_at(name);
    return dot == std::string::npos ? name + number : name.substr(0, dot) + number + name.substr(dot);
}

std::vector<std::string> output_names(const ConvertOptions& o, const std::vector<int32_t>& pages) {
    if (o.format != OutputFormat::kPng && o.format != OutputFormat::kSvg)
        return {page_output_name(o.output, 1, false)};
    std::vector<std::string> names;
    for (int32_t page : pages) names.push_back(page_output_name(o.output, page, pages.size() > 1));
    return names;
}

bool parse_page_list(const std::string& list, int32_t count, std::vector<int32_t>* pages,
                     std::string* error) {
    pages->clear();
    size_t at = 0;
    while (at <= list.size()) {
        size_t comma = list.find(',', at);
        if (comma == std::string::npos) comma = list.size();
        const std::string item = list.substr(at, comma - at);
        const size_t dash = item.find('-');
        long first = 0, last = 0;
        bool ok;
        if (dash == std::string::npos) {
            ok = whole_number(item, &first);
            last = first;
        } else {
            ok = whole_number(item.substr(0, dash), &first);
            const std::string tail = item.substr(dash + 1);
            if (tail.empty())
                last = count;
            else
                ok = ok && whole_number(tail, &last);
        }
        if (!ok || (first > last && first <= count)) {
            *error = "a page list is numbers and ranges such as 2-5,9, not \"" + list + "\"";
            return false;
        }
        // "9-" in a document of 5 pages names page 9.
        if (first < 1 || first > count || last > count) {
            *error = "page " + std::to_string(first < 1 || first > count ? first : last) + " is not in the document (" +
                     std::to_string(count) + (count == 1 ? " page)" : " pages)");
            return false;
        }
        for (long p = first; p <= last; ++p) pages->push_back(int32_t(p));
        at = comma + 1;
    }
    return !pages->empty();
}

bool parse_convert_options(int argc, char** argv, ConvertOptions* o, std::string* error) {
    std::vector<std::string> positional;
    bool format_given = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                *error = a + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--format") {
            if (!value(&v)) return false;
            if (!format_named(v, &o->format)) {
                *error = "unknown format \"" + v + "\" (pdf, png, svg or txt)";
                return false;
            }
            format_given = true;
        } else if (a == "--pages") {
            if (!value(&o->pages)) return false;
        } else if (a == "--password") {
            if (!value(&o->password)) return false;
            o->has_password = true;
        } else if (a == "--password-file") {
            if (!value(&o->password_file)) return false;
        } else if (a == "--no-file-pictures") {
            o->file_pictures = false;
        } else if (a == "--keep-going") {
            o->keep_going = true;
        } else if (a == "--help" || a == "-h") {
            o->help = true;
            return true;
        } else if (a == "--dpi") {
            long dpi = 0;
            if (!value(&v)) return false;
            if (!whole_number(v, &dpi) || dpi < 1 || dpi > 2400) {
                *error = "--dpi takes a whole number from 1 to 2400";
                return false;
            }
            o->dpi = int(dpi);
            o->dpi_given = true;
        } else if (a == "--zoom") {
            if (!value(&v)) return false;
            char* end = nullptr;
            o->zoom = std::strtod(v.c_str(), &end);
            if (!end || *end || !(o->zoom >= 0.05 && o->zoom <= 10.0)) {
                *error = "--zoom takes a factor from 0.05 to 10";
                return false;
            }
            o->zoom_given = true;
        } else if (a == "--quiet" || a == "-q") {
            o->quiet = true;
        } else if (a.size() > 1 && a[0] == '-') {
            *error = "unknown option " + a;
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        *error = "give a document and an output";
        return false;
    }
    o->input = positional[0];
    o->output = positional[1];
    if (!format_given && o->output != "-") {
        const size_t dot = extension_at(o->output);
        if (dot == std::string::npos || !format_named(o->output.substr(dot + 1), &o->format)) {
            *error = "cannot tell the format from \"" + o->output + "\": use --format";
            return false;
        }
    }
    if (o->has_password && !o->password_file.empty()) {
        *error = "give --password or --password-file, not both";
        return false;
    }
    if (!valid_name_pattern(o->output)) {
        *error = "an output name may hold %d (the page number) and %%, nothing else after %";
        return false;
    }
    const bool pictures = o->format == OutputFormat::kPng || o->format == OutputFormat::kSvg;
    if (!pictures && page_output_name(o->output, 1, false) != page_output_name(o->output, 2, false)) {
        *error = "a " + std::string(o->format == OutputFormat::kPdf ? "PDF" : "text") +
                 " output is one file: its name cannot hold %d (write %%d for \"%d\")";
        return false;
    }
    return true;
}

}  // namespace vell
