#include "send/save.h"

#include "send/copy_mark.h"

#include "document/container.h"
#include "document/file_io.h"
#include "document/text.h"
#include "send/file_ops.h"

namespace vell {

namespace {
constexpr char kUnableToSave[] = "\rUnable to save document";
}  // namespace

SaveKind save_kind(const std::string& name) {
    const std::string trimmed = trim(name);
    if (trimmed.size() < 4) return SaveKind::kInvalid;
    const std::string extension = to_upper(trimmed.substr(trimmed.size() - 4));
    if (extension == ".VEL") return SaveKind::kDocument;
    if (extension == ".EXE") return SaveKind::kViewer;
    if (extension == ".PDF") return SaveKind::kPdf;
    return SaveKind::kInvalid;
}

std::string invalid_name_message(const std::string& name) {
    return "Invalid file name: " + name + "\rFile must have an .EXE extension";
}

std::string build_status_message(int16_t status, const std::string& document_path,
                                 const std::string& target, const std::string& program_path) {
    switch (status) {
    case kBuildNoInput:
        return "Can't find input file: " + trim(document_path) + kUnableToSave;
    case kBuildOutputExists:
        return "Unable to overwrite output file: " + trim(target) + kUnableToSave;
    case kBuildNoInputOpen:
        return "Can't open input file: " + trim(document_path) + kUnableToSave;
    case kBuildNoOutput:
        return "Can't open output file: " + trim(target) + kUnableToSave;
    case kBuildNoStub:
        return "Can't open stub file: " + trim(program_path) + kUnableToSave;
    default:
        return std::string();
    }
}

std::string save_over_document_message(const std::string& target) {
    return "Can't save the document over itself: " + target + kUnableToSave;
}

std::string save_over_program_message(const std::string& target) {
    return "Can't save the document over the viewer that is running: " + target + kUnableToSave;
}

std::string save_target_refusal(const std::string& target, const std::string& document_path,
                                const std::string& program_path) {
    if (same_file(target, document_path)) return save_over_document_message(target);
    if (same_file(target, program_path)) return save_over_program_message(target);
    return std::string();
}

std::string save_to(const std::string& document_path, const std::string& chosen,
                    const std::string& program_path, bool mark_copy) {
    const std::string target = cut_text(trim(chosen), kSavePathLimit);
    const std::string document = cut_text(document_path, kSavePathLimit);
    const std::string program = cut_text(program_path, kSavePathLimit);
    const SaveKind kind = save_kind(target);
    // A PDF is drawn from the open document (send/cairo_pdf_file.h), not
    // copied from its file.
    if (kind == SaveKind::kInvalid || kind == SaveKind::kPdf) return invalid_name_message(target);

    // An existing target is deleted before anything is written to it: never
    // the open document or the running program, which would be gone before
    // they could be read.
    const std::string refusal = save_target_refusal(target, document, program);
    if (!refusal.empty()) return refusal;
    // A failed delete is not reported: the copy or the build that follows
    // says what went wrong.
    if (file_exists(target)) delete_file(target);

    if (kind == SaveKind::kDocument) {
        if (!copy_file(document, target)) return kSaveFailedMessage;
        // A self-extracting viewer needs no mark: it never offers save,
        // e-mail or fax, and never deletes itself.
        if (mark_copy) mark_file_as_copy(target);
        return std::string();
    }
    return build_status_message(build_self_extracting(document, program, target), document, target,
                                program);
}

}  // namespace vell
