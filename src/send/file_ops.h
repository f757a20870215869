// The file operations the save command needs beyond the document reader's:
// copying a file over another, moving a finished file onto its name, and
// telling whether two names lead to the same file. Windows:
// file_ops_win.cpp; host: file_ops_posix.cpp.
#pragma once

#include <string>

namespace vell {

// Copies from onto to, replacing to when it exists (CopyFileA with its
// fail-if-exists argument false); true when the copy was made.
bool copy_file(const std::string& from, const std::string& to);

// Gives the file from the name to, replacing a file of that name, in one
// step (MoveFileExA with MOVEFILE_REPLACE_EXISTING); true when it moved.
bool replace_file(const std::string& from, const std::string& to);

// True when both names lead to one existing file, whatever way each is
// written (letter case, relative parts, other links to it).
bool same_file(const std::string& a, const std::string& b);

}  // namespace vell
