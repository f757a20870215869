// The open document as a PDF file: what Save writes for a ".PDF" name and
// what E-Mail as PDF attaches. The file is written under a temporary name
// beside the target and takes the target's name only when it is complete,
// so a failure leaves nothing behind and never touches an existing file of
// that name.
#pragma once

#include <string>

namespace vell {

struct Document;

// Told how far the writing has come, 0..100, and -1 when it is over.
using PdfProgress = void (*)(int percent);
// Documents of more pages than this show the progress.
constexpr int kPdfProgressPages = 20;

// Writes every page of the open document to target (used as given). Returns
// the message to show, empty when the file is written: the unknown-record
// notice for a damaged page, "Unable to save file." when the folder cannot
// be written or the disk is full.
std::string write_pdf_file(Document& doc, const std::string& target, PdfProgress progress);

// Save for a ".PDF" name: the chosen name trimmed and cut as Save cuts it,
// refused when it is the open document file or the running program,
// otherwise written by write_pdf_file. Returns the message to show.
std::string save_as_pdf(Document& doc, const std::string& chosen, const std::string& program_path,
                        PdfProgress progress);

}  // namespace vell
