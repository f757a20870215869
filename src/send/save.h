// Saving the open document under a name the user chose: a copy of the
// document file for a ".VEL" name, a self-extracting viewer for an ".EXE"
// name, a PDF for a ".PDF" name (send/cairo_pdf_file.h). The file on disk is marked as a copy while this runs (CopyMark), so
// whatever is written here is a copy too.
#pragma once

#include <cstdint>
#include <string>

namespace vell {

constexpr size_t kSavePathLimit = 299;  // paths handed to the file operations
constexpr char kSaveFailedMessage[] = "Unable to save file.";

enum class SaveKind { kDocument, kViewer, kPdf, kInvalid };

// By the last four characters of the trimmed name, letter case ignored:
// ".VEL" a document, ".EXE" a self-extracting viewer, ".PDF" a PDF, else
// invalid.
SaveKind save_kind(const std::string& name);

std::string invalid_name_message(const std::string& name);

// The message for a status of the self-extracting builder; empty for 0 and
// for statuses the builder does not have.
std::string build_status_message(int16_t status, const std::string& document_path,
                                 const std::string& target, const std::string& program_path);

// Refusals: the target is the open document file itself, or the program
// that is running. Either would be deleted before it is read.
std::string save_over_document_message(const std::string& target);
std::string save_over_program_message(const std::string& target);

// The refusal for a target that is the open document file or the running
// program; empty when it is neither.
std::string save_target_refusal(const std::string& target, const std::string& document_path,
                                const std::string& program_path);

// Writes the document at document_path to the chosen name (trimmed): an
// existing file of that name is deleted first, then the document is copied
// (".VEL") or built into a self-extracting viewer with program_path as stub
// (".EXE"). With mark_copy, a ".VEL" copy gets the copy mark in its own
// header (for a document file that could not carry the mark itself, being
// read-only). Returns the message to show, empty when there is none.
std::string save_to(const std::string& document_path, const std::string& chosen,
                    const std::string& program_path, bool mark_copy = false);

}  // namespace vell
