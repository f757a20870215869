// The default printer as win.ini names it: section "WINDOWS", key "DEVICE",
// a text of the form "device name,driver,port".
#pragma once

#include <cstddef>
#include <string>

namespace vell {

constexpr char kNoDefaultPrinterMessage[] =
    "In order to print, a default printer must be defined.";
// The profile text is read into a buffer of this size.
constexpr size_t kDeviceEntrySize = 1000;
// A printer name is at most this long.
constexpr size_t kPrinterNameLimit = 255;

// The printer name of a DEVICE entry: the text is cut at its first NUL and
// trimmed of blanks; the name is what stands before its first comma, cut at
// 255 characters. False, with name untouched, when the entry has no comma
// or starts with one: then there is no default printer to use.
bool printer_name_from_entry(const std::string& entry, std::string* name);

}  // namespace vell
