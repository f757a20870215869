#include <windows.h>

#include "document/text.h"
#include "startup/module_path.h"

namespace vell {

std::string module_path() {
    char buffer[kModulePathBufferSize] = {};
    GetModuleFileNameA(nullptr, buffer, sizeof buffer - 1);
    return trim(buffer);
}

}  // namespace vell
