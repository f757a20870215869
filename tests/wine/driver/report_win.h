// What a step of the driver waited for and what it saw instead, so that a
// failing case tells a window that never came from one with another title,
// a hung program from an ended one. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace vtdriver {

// Writes two lines to stderr, which the rig's log keeps:
//   vtdriver STEP: waited for: WHAT
//   vtdriver STEP: saw: SAW
void report_wait(const std::string& step, const std::string& waited_for, const std::string& saw);

// Every visible top-level window as `class "title" (process)`, separated by
// "; ", or "no visible window".
std::string visible_windows();

// The executable name of a process, or "pid N" when it has gone.
std::string process_name(DWORD pid);

// An exit code as the rig explains it: "exit code 0", or for an exception
// code such as 0xC0000005 "exception 0xC0000005 (access violation)".
std::string describe_exit_code(DWORD code);

}  // namespace vtdriver
