#include "render/text_find.h"

#include <algorithm>

namespace vell {

namespace {

// Windows-1252 lower case: ASCII, the accented letters at 0xC0..0xDE
// (0xD7, the multiplication sign, is no letter) and the four at 0x8A..0x9F.
struct FoldTable {
    unsigned char lower[256];
    bool word[256];
    FoldTable() {
        for (int c = 0; c < 256; ++c) {
            lower[c] = static_cast<unsigned char>(c);
            word[c] = false;
        }
        for (int c = 'A'; c <= 'Z'; ++c) lower[c] = static_cast<unsigned char>(c + 32);
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) lower[c] = static_cast<unsigned char>(c + 32);
        lower[0x8A] = 0x9A;  // S caron
        lower[0x8C] = 0x9C;  // OE
        lower[0x8E] = 0x9E;  // Z caron
        lower[0x9F] = 0xFF;  // Y diaeresis
        for (int c = 0; c < 256; ++c) {
            const bool letter = lower[c] != c || (c >= 'a' && c <= 'z') ||
                                (c >= 0xDF && c <= 0xFF && c != 0xF7) || c == 0x9A ||
                                c == 0x9C || c == 0x9E || c == 0x83 || c == 0xAA || c == 0xBA;
            word[c] = letter || (c >= '0' && c <= '9') || c == '_';
        }
    }
};

const FoldTable& fold_table() {
    static const FoldTable table;
    return table;
}

bool same(unsigned char a, unsigned char b, bool match_case) {
    return match_case ? a == b : fold_case(a) == fold_case(b);
}

bool matches_at(const std::string& text, const std::string& needle, const FindOptions& options,
                size_t at) {
    for (size_t i = 0; i < needle.size(); ++i)
        if (!same(static_cast<unsigned char>(text[at + i]), static_cast<unsigned char>(needle[i]),
                  options.match_case))
            return false;
    if (!options.whole_words) return true;
    // A whole word: no word character right before or right after it.
    const bool open_before = at == 0 || !is_word_character(static_cast<unsigned char>(text[at - 1]));
    const size_t end = at + needle.size();
    const bool open_after =
        end == text.size() || !is_word_character(static_cast<unsigned char>(text[end]));
    return open_before && open_after;
}

}  // namespace

unsigned char fold_case(unsigned char c) { return fold_table().lower[c]; }
bool is_word_character(unsigned char c) { return fold_table().word[c]; }

size_t find_in_text(const std::string& text, const std::string& needle, const FindOptions& options,
                    size_t from) {
    if (needle.empty() || needle.size() > text.size()) return std::string::npos;
    for (size_t at = from; at + needle.size() <= text.size(); ++at)
        if (matches_at(text, needle, options, at)) return at;
    return std::string::npos;
}

size_t find_last_in_text(const std::string& text, const std::string& needle,
                         const FindOptions& options, size_t before) {
    if (needle.empty() || needle.size() > text.size()) return std::string::npos;
    size_t at = std::min(before, text.size() - needle.size() + 1);
    while (at > 0) {
        --at;
        if (matches_at(text, needle, options, at)) return at;
    }
    return std::string::npos;
}

// ---- Page bytes ------------------------------------------------------------------

PageBytesFilter::PageBytesFilter(const std::string& needle, const FindOptions& options)
    : needle_(needle), match_case_(options.match_case) {
    if (!match_case_)
        for (char& c : needle_) c = static_cast<char>(fold_case(static_cast<unsigned char>(c)));
    digits_only_ = !needle_.empty() &&
                   std::all_of(needle_.begin(), needle_.end(), [](char c) { return c >= '0' && c <= '9'; });
    // Horspool: how far the window may move when its last byte is c.
    const size_t n = needle_.size();
    std::fill(skip_, skip_ + 256, n ? n : 1);
    for (size_t i = 0; i + 1 < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(needle_[i]);
        skip_[c] = n - 1 - i;
        // Without case both forms of a letter move the same.
        if (!match_case_)
            for (int u = 0; u < 256; ++u)
                if (fold_case(static_cast<unsigned char>(u)) == c) skip_[u] = n - 1 - i;
    }
}

bool PageBytesFilter::may_match(const uint8_t* bytes, size_t size) const {
    const size_t n = needle_.size();
    if (n == 0) return false;
    if (digits_only_) return true;  // page numbers and totals are not in the bytes
    if (!bytes || size < n) return false;
    const unsigned char* fold = &fold_table().lower[0];
    const unsigned char last = static_cast<unsigned char>(needle_[n - 1]);
    for (size_t at = 0; at + n <= size;) {
        const unsigned char c = bytes[at + n - 1];
        if ((match_case_ ? c : fold[c]) == last) {
            size_t i = 0;
            while (i + 1 < n) {
                const unsigned char b = bytes[at + i];
                if ((match_case_ ? b : fold[b]) != static_cast<unsigned char>(needle_[i])) break;
                ++i;
            }
            if (i + 1 >= n) return true;
        }
        at += skip_[c];
    }
    return false;
}

// ---- The walk over the pages ----------------------------------------------------------

DocumentSearch::DocumentSearch(const std::string& needle, const FindOptions& options, bool forward,
                               int32_t page_count, int16_t start_page, const TextMatch* current)
    : needle_(needle),
      options_(options),
      filter_(needle, options),
      forward_(forward),
      page_count_(std::max<int32_t>(0, std::min<int32_t>(page_count, 32767))),
      start_page_(start_page),
      page_(start_page) {
    if (start_page_ < 1 || start_page_ > page_count_) start_page_ = page_ = 1;
    if (current && current->page == start_page_) {
        has_position_ = true;
        position_item_ = current->item;
        position_offset_ = current->offset;
    }
    finished_ = needle_.empty() || page_count_ < 1;
}

bool DocumentSearch::look(const PageText& text) {
    if (finished_) return false;
    const bool partial = first_look_ && has_position_ && page_ == start_page_;
    const int count = int(text.items.size());
    if (forward_) {
        for (int i = partial ? position_item_ : 0; i < count; ++i) {
            const size_t from = partial && i == position_item_ ? position_offset_ + 1 : 0;
            const size_t at = find_in_text(text.items[size_t(i)].text, needle_, options_, from);
            if (at != std::string::npos) {
                match_ = TextMatch{page_, i, at, needle_.size()};
                found_ = finished_ = true;
                ++done_;
                return true;
            }
        }
    } else {
        for (int i = partial ? std::min(position_item_, count - 1) : count - 1; i >= 0; --i) {
            const size_t before =
                partial && i == position_item_ ? position_offset_ : std::string::npos;
            const size_t at = find_last_in_text(text.items[size_t(i)].text, needle_, options_, before);
            if (at != std::string::npos) {
                match_ = TextMatch{page_, i, at, needle_.size()};
                found_ = finished_ = true;
                ++done_;
                return true;
            }
        }
    }
    advance();
    return false;
}

void DocumentSearch::pass() {
    if (!finished_) advance();
}

void DocumentSearch::advance() {
    ++done_;
    // The start page is looked at twice only when the first look saw part
    // of it.
    const bool back_at_start_page = !first_look_ && page_ == start_page_;
    if (back_at_start_page || (!has_position_ && done_ >= page_count_)) {
        finished_ = true;
        return;
    }
    first_look_ = false;
    if (forward_) {
        if (page_ == page_count_) {
            page_ = 1;
            wrapped_ = true;
        } else {
            ++page_;
        }
    } else {
        if (page_ == 1) {
            page_ = int16_t(page_count_);
            wrapped_ = true;
        } else {
            --page_;
        }
    }
}

}  // namespace vell
