// Where vell.exe takes its libraries from.
#pragma once

namespace vell {

// Limits the search for every library loaded from now on to the system
// folder: no copy of a system library planted beside the program (in a
// downloads folder, beside a self-extracting viewer) or in the current
// directory is ever loaded. Called first thing in WinMain, before any of
// the delay-loaded libraries (comctl32, comdlg32, winspool, shell32) is
// touched. Where Windows lacks SetDefaultDllDirectories (Windows 7 without
// its update), the current directory at least is taken out of the search.
void restrict_library_search();

}  // namespace vell
