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

// A blank of a text: blank, tab, line breaks and the no-break space.
bool is_blank_character(unsigned char c);

// A character of a page's text: one of its pieces (an index into the
// page's items in reading order) and a character of it.
struct TextPlace {
    int item = 0;
    size_t offset = 0;
};

// Where a match is: its page, its first character, and the place just after
// its last character (in the piece that holds that character).
struct TextMatch {
    int16_t page = 0;
    TextPlace start;
    TextPlace end;
};

// A piece's share of a match.
struct TextPart {
    int item = 0;
    size_t offset = 0;
    size_t count = 0;
};

// Matching runs over a page's text as it is read: its pieces in reading
// order along their links (page_text.h), with a word break between the
// pieces of a line and between the lines of a wrapped text (none where the
// text broke a word), and no way across other line ends. A run of blanks in
// the needle matches any run of blanks and word breaks; every other
// character matches itself, or its other case without match_case. With
// whole_words, no letter, digit or "_" stands right before or after it.
class PageMatcher {
public:
    PageMatcher(const std::string& needle, const FindOptions& options);

    // Whether the needle can match at all (it is not empty).
    bool can_match() const { return !pattern_.empty(); }
    // The first match that starts at or after from.
    bool first_from(const PageText& page, TextPlace from, TextMatch* match) const;
    // The last match that starts before `before`; {items.size(), 0} stands
    // for the end of the page.
    bool last_before(const PageText& page, TextPlace before, TextMatch* match) const;

private:
    bool matches_at(const PageText& page, const std::vector<int>& joined_from, TextPlace at,
                    TextPlace* end) const;
    std::string pattern_;  // the needle, each run of blanks one blank
    FindOptions options_;
};

// The pieces a match spans and its characters in each, in reading order.
std::vector<TextPart> match_parts(const PageText& page, const TextMatch& match);

// Looks for the needle in a page's bytes, to pass over pages that cannot
// hold a match without reading their texts. A word of the needle (a run
// without blanks) matches within one text record, or within a page number
// or total when it is all digits, and those are not in the bytes; so every
// other word must be found in the bytes.
class PageBytesFilter {
public:
    PageBytesFilter(const std::string& needle, const FindOptions& options);
    bool may_match(const uint8_t* bytes, size_t size) const;

private:
    // One word, found by Horspool's method.
    struct Word {
        std::string text;  // folded unless case matters
        size_t skip[256];
    };
    bool found(const Word& word, const uint8_t* bytes, size_t size) const;
    std::vector<Word> words_;
    bool match_case_ = false;
    bool any_ = false;    // a needle of blanks only: every page may hold it
    bool empty_ = false;  // an empty needle: no page holds it
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

    PageMatcher matcher_;
    PageBytesFilter filter_;
    bool forward_;
    int32_t page_count_;
    int16_t start_page_;
    int16_t page_;
    // The first look at the start page sees only what lies after (or,
    // backward, before) this position; the last look sees it whole.
    bool first_look_ = true;
    bool has_position_ = false;
    TextPlace position_;
    bool finished_ = false;
    bool found_ = false;
    bool wrapped_ = false;
    int32_t done_ = 0;
    TextMatch match_;
};

}  // namespace vell
