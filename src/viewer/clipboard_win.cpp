// Copy: the selection goes to the clipboard as Unicode text (from the
// document's Windows-1252 text), as ANSI text, and as "HTML Format" with a
// table of its lines and cells. Copying is reading, not saving, so a
// received copy of a document may be copied from as well.
#include <cstring>
#include <string>

#include "document/ansi_text.h"
#include "viewer/navigation.h"
#include "viewer/selection.h"
#include "viewer/selection_copy.h"
#include "viewer/selection_win.h"
#include "render/units.h"

namespace vell {

namespace {

// Hands bytes (terminator included) to the open clipboard; the clipboard
// owns the memory once it took it.
void put(UINT format, const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) GlobalFree(memory);
}

}  // namespace

void copy_selection(HWND viewer) {
    if (!selection_current(navigation().current_page, zoom_factor().value)) return;
    const Selection& s = selection();
    if (s.parts.empty()) return;
    const std::vector<CopiedLine> lines = selection_lines(s.text, s.parts);
    const std::string text = lines_as_text(lines);
    const std::u16string unicode = ansi_to_utf16(text);
    const std::string html = lines_as_clipboard_html(lines);
    const UINT html_format = RegisterClipboardFormatA("HTML Format");
    if (!OpenClipboard(viewer)) return;
    EmptyClipboard();
    put(CF_UNICODETEXT, unicode.c_str(), (unicode.size() + 1) * sizeof(char16_t));
    put(CF_TEXT, text.c_str(), text.size() + 1);
    if (html_format) put(html_format, html.c_str(), html.size() + 1);
    CloseClipboard();
}

}  // namespace vell
