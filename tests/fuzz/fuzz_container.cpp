// The self-extracting check on arbitrary files: any trailer gives a base
// inside the file or 0.
#include "document/container.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!vell_fuzz::write_input(data, size)) return 0;
    int32_t base = vell::self_extract_base(vell_fuzz::input_path());
    if (base < 0 || size_t(base) > size) __builtin_trap();
    return 0;
}
