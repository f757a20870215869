// The printer settings block: a 20122-byte working copy of the default
// printer's DEVMODEA, which the job sets to the first page's orientation
// and rendering sets to each page's paper, orientation and source; and the
// saved copy the working block is restored from before every page.
//
// Every copy between the two blocks and out of the driver's buffer moves
// exactly kPrinterSettingsSize bytes; every buffer handed on is at least
// that large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/interpreter.h"

namespace vell {

namespace devmode {
constexpr size_t kSize = 36;         // WORD dmSize
constexpr size_t kDriverExtra = 38;  // WORD dmDriverExtra
constexpr uint32_t kOrientationField = 1;  // DM_ORIENTATION
// The smallest DEVMODEA the block may describe: one that reaches past the
// union holding orientation, paper size and paper source.
constexpr size_t kMinimumSize = 60;
// No DEVMODEA comes near this size (156 bytes today); a larger dmSize
// means the driver never wrote the buffer: one left blank-filled reads
// 0x2020 = 8224.
constexpr size_t kMaximumSize = 1024;
}  // namespace devmode

// A driver that asks for more than this for its settings is not believed:
// the job then prints with the device context's own settings instead of
// allocating whatever it claims.
constexpr int32_t kMaxDriverSettingsSize = 16 * 1024 * 1024;

// The buffer size for the driver's settings: the size DocumentPropertiesA
// reported (a failure reports below 0), raised to kPrinterSettingsSize.
// 0 when the report is beyond kMaxDriverSettingsSize.
int32_t driver_settings_size(int32_t reported);

struct PrinterSettings {
    // False when the printer's settings could not be had: the job then
    // never resets the device context itself and gives rendering no block.
    bool available = false;
    int32_t driver_size = 0;     // at least kPrinterSettingsSize when available
    std::vector<uint8_t> working;  // kPrinterSettingsSize bytes when available
    std::vector<uint8_t> saved;    // kPrinterSettingsSize bytes when available
};

// Takes the settings that DocumentPropertiesA wrote into a buffer of size
// bytes (size at least kPrinterSettingsSize): the first 20122 bytes become
// the working block, set to landscape or portrait with dmFields exactly
// DM_ORIENTATION, and the saved block copies it. Refused (false, nothing
// available) when size is too small or the buffer does not hold a DEVMODEA
// that fits in it: a dmSize outside devmode::kMinimumSize to kMaximumSize,
// or dmSize plus dmDriverExtra beyond size. A driver that left the buffer
// as it was given (all blanks) is refused that way too.
bool take_printer_settings(const uint8_t* fetched, size_t size, bool landscape,
                           PrinterSettings* settings);

// dmOrientation landscape (2) or portrait (1), and dmFields exactly
// DM_ORIENTATION, in a block of size bytes.
void set_job_orientation(uint8_t* block, size_t size, bool landscape);

// Copies the saved block over the working block (kPrinterSettingsSize
// bytes); nothing when the settings are not available.
void restore_working_block(PrinterSettings* settings);

// The working block at the start of a zero-filled buffer of the driver
// settings size, for ResetDCA: the driver may read dmSize + dmDriverExtra
// bytes, which the buffer always holds. Empty when nothing is available.
std::vector<uint8_t> reset_buffer(const PrinterSettings& settings);

}  // namespace vell
