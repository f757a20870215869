// vellconvert's command line: IN OUT and the options, the page list and
// the names of per-page output files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vell {

enum class OutputFormat { kPdf, kPng, kSvg, kTxt };

struct ConvertOptions {
    std::string input;
    std::string output;  // "-" is standard output
    OutputFormat format = OutputFormat::kPdf;
    std::string pages;   // "2-5,9"; empty: every page
    bool has_password = false;
    std::string password;
    std::string password_file;  // "-" is standard input
    int dpi = 96;
    double zoom = 1.0;
    bool dpi_given = false;
    bool zoom_given = false;
    bool quiet = false;
    bool file_pictures = true;  // picture file records draw their files
    bool keep_going = false;    // damaged pages drawn as far as they go
    bool help = false;
};

// Parses argv; false with a message in *error for anything it cannot take.
bool parse_convert_options(int argc, char** argv, ConvertOptions* options, std::string* error);

// The pages a page list names, in the order given, each within 1..count:
// "2-5,9", "7", "4-" (to the last page). False with a message otherwise.
bool parse_page_list(const std::string& list, int32_t count, std::vector<int32_t>* pages,
                     std::string* error);

// The file a page goes to: "%%" in the output name is a percent sign and
// "%d" the page number; a name without "%d" is the output's own when it is
// the only page, else it gets "-N" before its extension.
std::string page_output_name(const std::string& output, int32_t page, bool several);

// The files the pages go to: one for PDF and text, one per page for
// pictures.
std::vector<std::string> output_names(const ConvertOptions& options,
                                      const std::vector<int32_t>& pages);

// False when a name holds a "%" other than "%d" and "%%".
bool valid_name_pattern(const std::string& output);

}  // namespace vell
