#include "print/settings_block.h"

#include <cstring>

#include "document/bytes.h"

namespace vell {

int32_t driver_settings_size(int32_t reported) {
    if (reported > kMaxDriverSettingsSize) return 0;
    return reported < int32_t(kPrinterSettingsSize) ? int32_t(kPrinterSettingsSize) : reported;
}

bool take_printer_settings(const uint8_t* fetched, size_t size, bool landscape,
                           PrinterSettings* settings) {
    *settings = PrinterSettings();
    if (!fetched || size < kPrinterSettingsSize) return false;
    const size_t devmode_size = get_u16(fetched, size, devmode::kSize);
    const size_t driver_extra = get_u16(fetched, size, devmode::kDriverExtra);
    if (devmode_size < devmode::kMinimumSize || devmode_size > devmode::kMaximumSize ||
        devmode_size + driver_extra > size)
        return false;

    settings->working.assign(fetched, fetched + kPrinterSettingsSize);
    set_job_orientation(settings->working.data(), settings->working.size(), landscape);
    settings->saved = settings->working;
    settings->driver_size = int32_t(size);
    settings->available = true;
    return true;
}

void set_job_orientation(uint8_t* block, size_t size, bool landscape) {
    put_i16(block, size, devmode::kOrientation, landscape ? devmode::kLandscape : devmode::kPortrait);
    put_u32(block, size, devmode::kFields, devmode::kOrientationField);
}

void restore_working_block(PrinterSettings* settings) {
    if (!settings->available) return;
    std::memcpy(settings->working.data(), settings->saved.data(), kPrinterSettingsSize);
}

std::vector<uint8_t> reset_buffer(const PrinterSettings& settings) {
    if (!settings.available) return std::vector<uint8_t>();
    std::vector<uint8_t> buffer(size_t(settings.driver_size), 0);
    std::memcpy(buffer.data(), settings.working.data(), kPrinterSettingsSize);
    return buffer;
}

}  // namespace vell
