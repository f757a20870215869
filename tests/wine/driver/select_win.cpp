// The selection cases' helpers (tests/wine/cases_select.sh):
//
//   select make table PATH       "Select Table": page 1 holds a heading, a
//                                table of three rows and three columns and a
//                                line of notes; page 2 says "Second page"
//   select clipboard             prints text= (the clipboard's Unicode text
//                                as UTF-8, with \r, \n and \t written out),
//                                ansi= (its ANSI text likewise) and
//                                fragment= (the table of its "HTML Format",
//                                "none" without one)
//   select clear-clipboard       empties the clipboard
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/format.h"
#include "driver.h"
#include "vel_writer.h"
#include "viewer_driver.h"

namespace vtdriver {

namespace {

bool write_table(const std::string& path) {
    vell::PageBuilder first;
    first.font(0, 12, 0, "Arial").aligned_text(1, 0.5f, 0, "Stock list");
    const char* rows[][3] = {{"Item", "Qty", "Price"}, {"Widget blue", "2", "12.50"}, {"Gadget", "10", "7.25"}};
    for (int r = 0; r < 3; ++r) {
        const float y = 1.0f + 0.3f * float(r);
        first.aligned_text(1, y, 0, rows[r][0]).aligned_text(3, y, 0, rows[r][1]);
        first.aligned_text(5.5f, y, 2, rows[r][2]);
    }
    first.aligned_text(1, 3, 0, "Notes follow").end_of_page();
    vell::PageBuilder second;
    second.font(0, 12, 0, "Arial").aligned_text(1, 1, 0, "Second page").end_of_page();
    vell::DocumentPlan plan;
    plan.title = "Select Table";
    plan.initial_zoom = vell::kZoom100;
    plan.pages = {first.bytes(), second.bytes()};
    return vell::write_file(path, vell::write_document(plan));
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : printable(text)) {
        if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

std::string clipboard_utf8() {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (!wide) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size_t(size > 0 ? size : 1), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], size, nullptr, nullptr);
    GlobalUnlock(data);
    text.resize(text.find('\0'));
    return text;
}

std::string clipboard_bytes(UINT format) {
    HANDLE data = format ? GetClipboardData(format) : nullptr;
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!bytes) return std::string();
    std::string text(bytes, strnlen(bytes, GlobalSize(data)));
    GlobalUnlock(data);
    return text;
}

// The fragment of "HTML Format" from its StartFragment and EndFragment offsets.
std::string html_fragment() {
    const std::string html = clipboard_bytes(RegisterClipboardFormatA("HTML Format"));
    auto offset = [&](const char* key) {
        const size_t at = html.find(key);
        return at == std::string::npos ? std::string::npos
                                       : size_t(std::strtoul(html.c_str() + at + std::strlen(key), nullptr, 10));
    };
    const size_t start = offset("StartFragment:"), end = offset("EndFragment:");
    if (start == std::string::npos || end == std::string::npos || start > end || end > html.size())
        return "none";
    return html.substr(start, end - start);
}

int clipboard(bool clear) {
    if (!OpenClipboard(nullptr)) {
        std::fprintf(stderr, "vtdriver select: cannot open the clipboard\n");
        return 1;
    }
    if (clear) {
        EmptyClipboard();
    } else {
        std::printf("text=%s\n", escaped(clipboard_utf8()).c_str());
        std::printf("ansi=%s\n", escaped(clipboard_bytes(CF_TEXT)).c_str());
        std::printf("fragment=%s\n", escaped(html_fragment()).c_str());
    }
    CloseClipboard();
    return 0;
}

}  // namespace

int cmd_select(const Args& args) {
    const Options options(args, {});
    const std::string action = options.positional.empty() ? "" : options.positional[0];
    if (action == "make" && options.positional.size() == 3 && options.positional[1] == "table") {
        if (write_table(options.positional[2])) return 0;
        std::fprintf(stderr, "vtdriver select make: cannot write %s\n", options.positional[2].c_str());
        return 1;
    }
    if (action == "clipboard") return clipboard(false);
    if (action == "clear-clipboard") return clipboard(true);
    std::fprintf(stderr, "usage: vtdriver select make table PATH | clipboard | clear-clipboard\n");
    return 64;
}

}  // namespace vtdriver
