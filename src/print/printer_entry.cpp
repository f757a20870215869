#include "print/printer_entry.h"

#include "document/text.h"

namespace vell {

bool printer_name_from_entry(const std::string& entry, std::string* name) {
    const std::string text = trim(cut_text(entry, entry.size()));
    const size_t comma = text.find(',');
    if (comma == std::string::npos || comma == 0) return false;
    *name = cut_text(text.substr(0, comma), kPrinterNameLimit);
    return true;
}

}  // namespace vell
