// The command-line interpretation on arbitrary texts: never more than one
// of print, e-mail and fax, a document path without blanks at its ends, and
// a self-extracting viewer always opens its own file.
#include <string>

#include "document/text.h"
#include "startup/command_line.h"

using namespace vell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int32_t base = (data[0] & 1) ? 40000 : 0;
    const std::string module = "C:\\Program Files\\vell\\vell.exe";
    std::string line(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::string text = command_text_from_command_line(line);
    if (text != trim(text)) __builtin_trap();
    whole_line_switch(text);
    StartRequest request = interpret_command_text(text, base, module);
    if (int(request.print) + int(request.email) + int(request.fax) > 1) __builtin_trap();
    if (request.path != trim(request.path)) __builtin_trap();
    if (request.no_dialog_print && !request.print) __builtin_trap();
    if (base != 0 && (request.email || request.fax)) __builtin_trap();
    return 0;
}
