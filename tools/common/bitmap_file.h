// Windows bitmap files as embedded picture records carry them: generated
// ones for samples and tests, and a short description of a stored one.
#pragma once

#include <cstdint>
#include <string>

#include "document/bytes.h"

namespace vell {

constexpr int32_t kMaxGeneratedBitmapSide = 4096;

// Patterns a generated bitmap can show.
enum class BitmapPattern {
    kGradient,  // red grows to the right, green downwards
    kChecker,   // 8-pixel squares of the colour and white
    kSolid,     // the colour everywhere
};

// A complete 24-bit bottom-up bitmap file (file header, info header, rows
// padded to 4 bytes). width and height are 1..kMaxGeneratedBitmapSide;
// colour is a COLORREF (0x00BBGGRR).
Bytes make_bitmap(int32_t width, int32_t height, BitmapPattern pattern, uint32_t colour);

// "64 x 32, 24 bits per pixel" for a file that starts like a Windows bitmap,
// otherwise a short reason ("not a Windows bitmap: ...").
std::string describe_bitmap(const Bytes& file);

// True when the bytes start with the "BM" of a bitmap file header.
bool looks_like_bitmap(const Bytes& file);

}  // namespace vell
