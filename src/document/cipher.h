// The password cipher: a keystream derived from the key text itself, applied
// by exclusive-or. Enciphering and deciphering are the same operation; a
// writer stores cipher(P, P) for the password P.
#pragma once

#include <string>

namespace vell {

// Returns text with each byte exclusive-or the keystream byte at its place.
// An empty key returns the text unchanged.
std::string cipher(const std::string& text, const std::string& key);

// The keystream for key and text length, through a one-entry cache of the
// last keystream made (key, length, digit string, keystream). Key bytes are
// taken as codes 0..255. An empty key gives text_length zero bytes. The
// reference stays valid until the next call with another key or length.
const std::string& keystream(const std::string& key, size_t text_length);

// One digit group of the keystream: the product of (position + code) over
// the bytes of s (at most seven in a keystream), plus text_length, written
// in decimal with its first three digits dropped when it has more than
// three. Exposed for tests.
std::string digit_group(const std::string& s, size_t text_length);

// How many keystreams were computed rather than taken from the cache
// (exposed for tests of the cache).
unsigned long keystreams_made();

}  // namespace vell
