#include "startup/library_search.h"

#include <windows.h>

namespace vell {

namespace {
// From the Windows 8 headers; kernel32 has the function there and on
// Windows 7 with update KB2533623.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
}  // namespace

void restrict_library_search() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto set_default = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                                    reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                              : nullptr;
    if (set_default && set_default(kSearchSystem32)) return;
    SetDllDirectoryA("");
}

}  // namespace vell
