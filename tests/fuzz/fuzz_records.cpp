// The record decoder on arbitrary page bytes: every record stays inside the
// page, the stream only moves forwards, and decoding always ends.
#include "render/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vell::PageRecord record;
    size_t at = 12;
    while (vell::decode_record(data, size, at, &record) == vell::Decoded::kRecord) {
        if (record.next <= at) __builtin_trap();
        if (record.data.size() > size) __builtin_trap();
        at = record.next;
    }
    return 0;
}
