#include "send/cairo_pdf_file.h"

#include <cstdint>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/file_io.h"
#include "document/text.h"
#include "render/cairo_pdf.h"
#include "render/unknown_notice.h"
#include "send/file_ops.h"
#include "send/save.h"

namespace vell {

namespace {

// Tries this many names beside the target before giving up.
constexpr int kTemporaryTries = 100;

// A new, empty file beside the target: target + "." + n + ".tmp", the first
// n that is free. Empty when none could be made (the folder cannot be
// written).
std::string claim_beside(const std::string& target, File* file) {
    for (int n = 1; n <= kTemporaryTries; ++n) {
        const std::string name = target + "." + std::to_string(n) + ".tmp";
        if (file->create_new(name)) return name;
        if (!file_exists(name)) break;
    }
    return std::string();
}

// Tells the progress every whole percent, and that it is over when the
// writing ends, whatever way.
class ProgressShown {
public:
    ProgressShown(PdfProgress progress, size_t pages)
        : progress_(pages > size_t(kPdfProgressPages) ? progress : nullptr), pages_(pages) {}
    ~ProgressShown() {
        if (progress_) progress_(-1);
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;
    void done(size_t pages) {
        const int percent = int(pages * 100 / pages_);
        if (!progress_ || percent == shown_) return;
        shown_ = percent;
        progress_(percent);
    }

private:
    PdfProgress progress_;
    size_t pages_;
    int shown_ = -1;
};

// Gathers cairo's many small writes into large ones: each write to the
// file is a system call, and a PDF is written a few bytes at a time.
class BufferedFile {
public:
    explicit BufferedFile(File* file) : file_(file) { buffer_.reserve(kSize); }
    bool write(const unsigned char* data, size_t size) {
        if (buffer_.size() + size > kSize && !flush()) return false;
        if (size >= kSize) return put(data, size);
        buffer_.insert(buffer_.end(), data, data + size);
        return true;
    }
    bool flush() {
        const bool ok = put(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

private:
    static constexpr size_t kSize = 256 * 1024;
    bool put(const unsigned char* data, size_t size) {
        if (size == 0) return true;
        if (!file_->write_at(written_, data, size)) return false;
        written_ += int64_t(size);
        return true;
    }
    File* file_;
    std::vector<unsigned char> buffer_;
    int64_t written_ = 0;
};

}  // namespace

std::string write_pdf_file(Document& doc, const std::string& target, PdfProgress progress) {
    File file;
    const std::string temporary = claim_beside(target, &file);
    if (temporary.empty()) return kSaveFailedMessage;
    PdfRequest request;
    for (int32_t page = 1; page <= page_count(doc); ++page) request.pages.push_back(page);
    request.creator = "vell Print and Preview";
    BufferedFile buffered(&file);
    request.write = [&buffered](const unsigned char* data, size_t size) {
        return buffered.write(data, size);
    };
    ProgressShown shown(progress, request.pages.size());
    request.progress = [&shown](size_t done) { shown.done(done); };
    const PdfOutcome outcome = write_pdf(doc, request);
    const bool flushed = buffered.flush();
    file.close();
    if (outcome.status != PdfStatus::kWritten || !flushed || !replace_file(temporary, target)) {
        delete_file(temporary);
        return outcome.status == PdfStatus::kDamagedPage ? unknown_opcode_notice() : kSaveFailedMessage;
    }
    return std::string();
}

std::string save_as_pdf(Document& doc, const std::string& chosen, const std::string& program_path,
                        PdfProgress progress) {
    const std::string target = cut_text(trim(chosen), kSavePathLimit);
    const std::string refusal = save_target_refusal(target, cut_text(doc.path, kSavePathLimit),
                                                    cut_text(program_path, kSavePathLimit));
    if (!refusal.empty()) return refusal;
    return write_pdf_file(doc, target, progress);
}

}  // namespace vell
