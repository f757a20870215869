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

// The needle with every run of blanks made one blank.
std::string pattern_of(const std::string& needle) {
    std::string out;
    for (char c : needle) {
        const bool blank = is_blank_character(static_cast<unsigned char>(c));
        if (blank && !out.empty() && out.back() == ' ') continue;
        out += blank ? ' ' : c;
    }
    return out;
}

// For each piece, the piece whose word goes on in it, or -1.
std::vector<int> pieces_joined_from(const PageText& page) {
    std::vector<int> from(page.items.size(), -1);
    for (size_t i = 0; i < page.items.size(); ++i) {
        const PageTextItem& item = page.items[i];
        if (item.joined && item.next > int(i) && size_t(item.next) < page.items.size())
            from[size_t(item.next)] = int(i);
    }
    return from;
}

// The piece read after item, or -1; links that do not point forwards are
// ignored, so reading along them always ends.
int next_piece(const PageText& page, int item) {
    const int next = page.items[size_t(item)].next;
    return next > item && size_t(next) < page.items.size() ? next : -1;
}

// Whether a word character stands right before place.
bool word_before(const PageText& page, const std::vector<int>& joined_from, TextPlace at) {
    const std::string* text = &page.items[size_t(at.item)].text;
    if (at.offset == 0) {
        const int from = joined_from[size_t(at.item)];
        if (from < 0) return false;
        text = &page.items[size_t(from)].text;
        at.offset = text->size();
    }
    return at.offset > 0 && is_word_character(static_cast<unsigned char>((*text)[at.offset - 1]));
}

// Whether a word character stands at place, reading on into a joined piece.
bool word_at(const PageText& page, TextPlace at) {
    for (;;) {
        const PageTextItem& item = page.items[size_t(at.item)];
        if (at.offset < item.text.size())
            return is_word_character(static_cast<unsigned char>(item.text[at.offset]));
        const int next = next_piece(page, at.item);
        if (next < 0 || !item.joined) return false;
        at = TextPlace{next, 0};
    }
}

}  // namespace

unsigned char fold_case(unsigned char c) { return fold_table().lower[c]; }
bool is_word_character(unsigned char c) { return fold_table().word[c]; }
bool is_blank_character(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == 0xA0;
}

// ---- Matching on a page -----------------------------------------------------------------

PageMatcher::PageMatcher(const std::string& needle, const FindOptions& options)
    : pattern_(pattern_of(needle)), options_(options) {}

bool PageMatcher::matches_at(const PageText& page, const std::vector<int>& joined_from,
                             TextPlace at, TextPlace* end) const {
    if (options_.whole_words && word_before(page, joined_from, at)) return false;
    int item = at.item;
    size_t offset = at.offset;
    for (const char wanted : pattern_) {
        if (wanted == ' ') {
            // Blanks and word breaks, as many as there are, at least one.
            size_t taken = 0;
            for (;;) {
                const PageTextItem& piece = page.items[size_t(item)];
                if (offset < piece.text.size()) {
                    if (!is_blank_character(static_cast<unsigned char>(piece.text[offset]))) break;
                    ++offset;
                    ++taken;
                    continue;
                }
                const int next = next_piece(page, item);
                if (next < 0) break;
                if (!piece.joined) ++taken;
                item = next;
                offset = 0;
            }
            if (taken == 0) return false;
            continue;
        }
        // Any other character: a word goes on only into a joined piece.
        while (offset >= page.items[size_t(item)].text.size()) {
            const int next = next_piece(page, item);
            if (next < 0 || !page.items[size_t(item)].joined) return false;
            item = next;
            offset = 0;
        }
        if (!same(static_cast<unsigned char>(page.items[size_t(item)].text[offset]),
                  static_cast<unsigned char>(wanted), options_.match_case))
            return false;
        ++offset;
    }
    if (options_.whole_words && word_at(page, TextPlace{item, offset})) return false;
    *end = TextPlace{item, offset};
    return true;
}

bool PageMatcher::first_from(const PageText& page, TextPlace from, TextMatch* match) const {
    if (pattern_.empty() || from.item < 0) return false;
    const std::vector<int> joined_from = pieces_joined_from(page);
    for (size_t i = size_t(from.item); i < page.items.size(); ++i) {
        const size_t size = page.items[i].text.size();
        for (size_t at = i == size_t(from.item) ? from.offset : 0; at < size; ++at) {
            TextPlace end;
            if (matches_at(page, joined_from, TextPlace{int(i), at}, &end)) {
                match->start = TextPlace{int(i), at};
                match->end = end;
                return true;
            }
        }
    }
    return false;
}

bool PageMatcher::last_before(const PageText& page, TextPlace before, TextMatch* match) const {
    if (pattern_.empty() || before.item < 0 || page.items.empty()) return false;
    const std::vector<int> joined_from = pieces_joined_from(page);
    if (size_t(before.item) >= page.items.size())
        before = TextPlace{int(page.items.size() - 1), std::string::npos};
    for (int i = before.item; i >= 0; --i) {
        const size_t size = page.items[size_t(i)].text.size();
        size_t at = i == before.item ? std::min(before.offset, size) : size;
        while (at > 0) {
            --at;
            TextPlace end;
            if (matches_at(page, joined_from, TextPlace{i, at}, &end)) {
                match->start = TextPlace{i, at};
                match->end = end;
                return true;
            }
        }
    }
    return false;
}

std::vector<TextPart> match_parts(const PageText& page, const TextMatch& match) {
    std::vector<TextPart> parts;
    const int count = int(page.items.size());
    int item = match.start.item;
    size_t offset = match.start.offset;
    while (item >= 0 && item < count) {
        const size_t size = page.items[size_t(item)].text.size();
        const size_t stop = item == match.end.item ? std::min(match.end.offset, size) : size;
        if (stop > offset) parts.push_back(TextPart{item, offset, stop - offset});
        if (item == match.end.item) break;
        item = next_piece(page, item);
        offset = 0;
    }
    return parts;
}

// ---- Page bytes ------------------------------------------------------------------

PageBytesFilter::PageBytesFilter(const std::string& needle, const FindOptions& options)
    : match_case_(options.match_case) {
    const std::string pattern = pattern_of(needle);
    any_ = pattern == " ";
    size_t at = 0;
    while (at < pattern.size()) {
        size_t end = pattern.find(' ', at);
        if (end == std::string::npos) end = pattern.size();
        std::string word = pattern.substr(at, end - at);
        at = end + 1;
        // Page numbers and totals are not in the bytes.
        if (word.empty() || std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (!match_case_)
            for (char& c : word) c = static_cast<char>(fold_case(static_cast<unsigned char>(c)));
        words_.emplace_back();
        Word& w = words_.back();
        w.text = std::move(word);
        // Horspool: how far the window may move when its last byte is c.
        const size_t n = w.text.size();
        std::fill(w.skip, w.skip + 256, n);
        for (size_t i = 0; i + 1 < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(w.text[i]);
            w.skip[c] = n - 1 - i;
            // Without case both forms of a letter move the same.
            if (!match_case_)
                for (int u = 0; u < 256; ++u)
                    if (fold_case(static_cast<unsigned char>(u)) == c) w.skip[u] = n - 1 - i;
        }
    }
    empty_ = pattern.empty();
}

bool PageBytesFilter::found(const Word& word, const uint8_t* bytes, size_t size) const {
    const size_t n = word.text.size();
    if (!bytes || size < n) return false;
    const unsigned char* fold = &fold_table().lower[0];
    const unsigned char last = static_cast<unsigned char>(word.text[n - 1]);
    for (size_t at = 0; at + n <= size;) {
        const unsigned char c = bytes[at + n - 1];
        if ((match_case_ ? c : fold[c]) == last) {
            size_t i = 0;
            while (i + 1 < n) {
                const unsigned char b = bytes[at + i];
                if ((match_case_ ? b : fold[b]) != static_cast<unsigned char>(word.text[i])) break;
                ++i;
            }
            if (i + 1 >= n) return true;
        }
        at += word.skip[c];
    }
    return false;
}

bool PageBytesFilter::may_match(const uint8_t* bytes, size_t size) const {
    if (empty_) return false;
    if (any_) return true;
    for (const Word& word : words_)
        if (!found(word, bytes, size)) return false;
    return true;
}

// ---- The walk over the pages ----------------------------------------------------------

DocumentSearch::DocumentSearch(const std::string& needle, const FindOptions& options, bool forward,
                               int32_t page_count, int16_t start_page, const TextMatch* current)
    : matcher_(needle, options),
      filter_(needle, options),
      forward_(forward),
      page_count_(std::max<int32_t>(0, std::min<int32_t>(page_count, 32767))),
      start_page_(start_page),
      page_(start_page) {
    if (start_page_ < 1 || start_page_ > page_count_) start_page_ = page_ = 1;
    if (current && current->page == start_page_) {
        has_position_ = true;
        position_ = current->start;
    }
    finished_ = !matcher_.can_match() || page_count_ < 1;
}

bool DocumentSearch::look(const PageText& text) {
    if (finished_) return false;
    const bool partial = first_look_ && has_position_ && page_ == start_page_;
    // Forward: the first match after the current one's start; backward: the
    // last one before it.
    TextMatch match;
    const bool found =
        forward_ ? matcher_.first_from(text, partial ? TextPlace{position_.item, position_.offset + 1}
                                                     : TextPlace{},
                                       &match)
                 : matcher_.last_before(text, partial ? position_ : TextPlace{int(text.items.size()), 0},
                                        &match);
    if (found) {
        match.page = page_;
        match_ = match;
        found_ = finished_ = true;
        ++done_;
        return true;
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
