// Text helpers shared by every subsystem: the system's texts are single-byte
// ANSI strings, trimmed of blanks at both ends wherever they are read or shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vell {

// Removes blanks (spaces only, as the system's texts define them) at both ends.
std::string trim(const std::string& s);

// Upper-cases ASCII letters; other bytes stay as they are.
std::string to_upper(const std::string& s);

// The bytes of a fixed text field up to its first zero byte (or the whole
// field when it holds none), trimmed of blanks.
std::string fixed_field_text(const uint8_t* field, size_t size);

// Cuts a text at its first NUL byte and at max_length characters.
std::string cut_text(const std::string& s, size_t max_length);

// Copies a text into a fixed, zero-terminated buffer of buffer_size bytes,
// cut to fit, the way every text handed to a Windows call is passed.
void copy_to_buffer(char* buffer, size_t buffer_size, const std::string& s);

// Signed decimal with a leading blank for values of 0 and above, the way
// numbers are written in messages ("Status = -3", "Status = 0" as " 0").
std::string message_number(long long value);

// The leading number of a text as the system reads numbers typed or sent as
// text: leading blanks skipped, an optional sign, digits with an optional
// fraction; reading stops at the first character that is not part of the
// number. The fraction is dropped towards minus infinity. 0 when there is no
// number. Values beyond the 64-bit range are clamped.
long long leading_number(const std::string& s);

}  // namespace vell
