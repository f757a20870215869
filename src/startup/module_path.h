// The running program's own full path, trimmed of blanks: the viewer that
// the registry entries name, the program file a self-extracting viewer reads
// its document from, and the stub of every self-extracting viewer it builds.
#pragma once

#include <string>

namespace vell {

constexpr size_t kModulePathBufferSize = 400;

// GetModuleFileNameA of the running program into a 400-byte buffer, trimmed.
// Windows only (module_path_win.cpp).
std::string module_path();

}  // namespace vell
