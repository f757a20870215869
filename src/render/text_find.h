// Finding a text in a document's page texts: matching with or without case
// and as whole words, and the walk over the pages that starts after the
// current match and wraps around the document once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/page_text.h"

namespace vell {

struct FindOptions {
    bool match_case = false;
    bool whole_words = false;
};

// Texts are single-byte ANSI (Windows-1252): letters fold to lower case
// with their accented forms; a word is a run of letters, digits and "_".
unsigned char fold_case(unsigned char c);
bool is_word_character(unsigned char c);

// The first match of needle in text that starts at or after from, or
// std::string::npos. An empty needle matches nothing.
size_t find_in_text(const std::string& text, const std::string& needle, const FindOptions& options,
                    size_t from = 0);
// The last match that starts before `before`, or std::string::npos.
size_t find_last_in_text(const std::string& text, const std::string& needle,
                         const FindOptions& options, size_t before);

// Looks for the needle in a page's bytes, to pass over pages that cannot
// hold a match without reading their texts: every text a page draws is part
// of its bytes, apart from the page numbers and totals it writes in digits.
class PageBytesFilter {
public:
    PageBytesFilter(const std::string& needle, const FindOptions& options);
    bool may_match(const uint8_t* bytes, size_t size) const;

private:
    std::string needle_;  // folded unless case matters
    bool match_case_ = false;
    bool digits_only_ = false;
    size_t skip_[256];
};

// Where a match is: its page, the text's index in reading order, and the
// characters of that text.
struct TextMatch {
    int16_t page = 0;
    int item = 0;
    size_t offset = 0;
    size_t length = 0;
};

// The walk over the pages, one page at a time, so that the caller reads
// each page as it likes and can stop in between. Forward it looks at the
// start page after the current match (from the page's start without one),
// the pages after it, then from page 1 (wrapped) back to the start page,
// which it looks at whole once more. Backward likewise in reverse.
class DocumentSearch {
public:
    // current: the match shown now on start_page, or null.
    DocumentSearch(const std::string& needle, const FindOptions& options, bool forward,
                   int32_t page_count, int16_t start_page, const TextMatch* current);

    bool finished() const { return finished_; }
    bool found() const { return found_; }
    bool wrapped() const { return wrapped_; }
    const TextMatch& match() const { return match_; }
    // The page to look at next; 0 once finished.
    int16_t page() const { return finished_ ? int16_t(0) : page_; }
    // How many pages it has looked at or passed over.
    int32_t pages_done() const { return done_; }
    int32_t pages_total() const { return has_position_ ? page_count_ + 1 : page_count_; }

    // Whether the page's bytes can hold a match (see PageBytesFilter).
    bool worth_reading(const uint8_t* bytes, size_t size) const {
        return filter_.may_match(bytes, size);
    }
    // Looks at page() in its texts; true when it found a match there.
    bool look(const PageText& text);
    // Passes over page() without a match.
    void pass();

private:
    void advance();

    std::string needle_;
    FindOptions options_;
    PageBytesFilter filter_;
    bool forward_;
    int32_t page_count_;
    int16_t start_page_;
    int16_t page_;
    // The first look at the start page sees only what lies after (or,
    // backward, before) this position; the last look sees it whole.
    bool first_look_ = true;
    bool has_position_ = false;
    int position_item_ = 0;
    size_t position_offset_ = 0;
    bool finished_ = false;
    bool found_ = false;
    bool wrapped_ = false;
    int32_t done_ = 0;
    TextMatch match_;
};

}  // namespace vell
