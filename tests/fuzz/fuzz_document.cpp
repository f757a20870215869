// Document loading and every read operation on arbitrary bytes, at base 0
// and behind a stub: nothing may crash, read out of bounds or leak.
#include <cstring>

#include "document/document.h"
#include "fuzz_util.h"
#include "render/records.h"

using namespace vell;

static void exercise(const std::string& path, int32_t base) {
    Document doc;
    if (!open_document(doc, path, base)) return;
    if (read_header(doc) != HeaderCheck::kDocument) return;
    read_settings(doc);
    bool found = false;
    for (int offset = hdr::kLabel20; offset <= hdr::kLabel12; offset += 4)
        read_label_override(doc, header_i32(doc, offset), &found);
    read_page_index(doc);
    read_document_index(doc);
    int32_t n = page_count(doc);
    for (int32_t p = 0; p <= n + 1 && p <= 64; ++p) {
        load_page(doc, p);
        read_page_header(doc, p);
        uint8_t buffer[64];
        copy_page_bytes(doc, 0, sizeof buffer, buffer);
        copy_page_bytes(doc, int32_t(doc.page.size()) - 8, 32, buffer);
        page_text(doc, 12, 1000);
        PageRecord record;
        size_t at = kPageRecordsOffset;
        while (decode_record(doc.page.data(), doc.page.size(), at, &record) == Decoded::kRecord) {
            if (record.next <= at) __builtin_trap();  // the stream must move forwards
            at = record.next;
        }
    }
    // Building messages on whatever the header says.
    doc.building = true;
    int16_t current = 0;
    for (int i = 0; i < 3; ++i) current = on_page_added(doc, 261 + 20 * i, current).current_page;
    on_building_finished(doc, current);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!vell_fuzz::write_input(data, size)) return 0;
    exercise(vell_fuzz::input_path(), 0);
    // The same bytes read as if a 7-byte stub stood in front of them.
    exercise(vell_fuzz::input_path(), 7);
    return 0;
}
