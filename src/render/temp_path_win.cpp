// The temporary directory as Windows reports it.
#include "render/pictures.h"

#include <windows.h>

namespace vell {

std::string SystemFileSystem::temp_path() {
    char buffer[300] = {};
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

}  // namespace vell
