// The printer settings block: the size handed to the driver, taking the
// driver's settings, the first page's orientation, and the copies that
// restore and reset it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "document/bytes.h"
#include "print/settings_block.h"

namespace vell {
namespace {

constexpr size_t kBlock = kPrinterSettingsSize;

// What DocumentPropertiesA writes for a printer: a DEVMODEA of 156 bytes
// with 8 bytes of the driver's own, A4, portrait, every field it knows,
// in a blank-filled buffer of size bytes.
std::vector<uint8_t> driver_settings(size_t size, uint16_t devmode_size = 156,
                                     uint16_t driver_extra = 8) {
    std::vector<uint8_t> buffer(size, ' ');
    std::memset(buffer.data(), 0, 164);
    std::memcpy(buffer.data(), "OfficePDF", 9);
    put_u16(buffer.data(), size, devmode::kSize, devmode_size);
    put_u16(buffer.data(), size, devmode::kDriverExtra, driver_extra);
    put_u32(buffer.data(), size, devmode::kFields, 0x1EF1F);
    put_i16(buffer.data(), size, devmode::kOrientation, devmode::kPortrait);
    put_i16(buffer.data(), size, devmode::kPaperSize, 9);
    put_i16(buffer.data(), size, devmode::kDefaultSource, 7);
    buffer[160] = 0xAB;  // the driver's own settings
    return buffer;
}

int16_t orientation(const std::vector<uint8_t>& block) {
    return get_i16(block.data(), block.size(), devmode::kOrientation);
}
uint32_t fields(const std::vector<uint8_t>& block) {
    return get_u32(block.data(), block.size(), devmode::kFields);
}

TEST(DriverSettingsSize, NeverBelowTheBlock) {
    EXPECT_EQ(driver_settings_size(164), 20122);
    EXPECT_EQ(driver_settings_size(0), 20122);
    EXPECT_EQ(driver_settings_size(-1), 20122);  // the query failed
    EXPECT_EQ(driver_settings_size(20122), 20122);
    EXPECT_EQ(driver_settings_size(30000), 30000);
}

TEST(DriverSettingsSize, AnUnbelievableSizeIsRefused) {
    EXPECT_EQ(driver_settings_size(kMaxDriverSettingsSize), kMaxDriverSettingsSize);
    EXPECT_EQ(driver_settings_size(kMaxDriverSettingsSize + 1), 0);
}

TEST(TakePrinterSettings, TheFirst20122BytesWithTheFirstPagesOrientation) {
    const std::vector<uint8_t> fetched = driver_settings(kBlock);
    PrinterSettings settings;
    ASSERT_TRUE(take_printer_settings(fetched.data(), fetched.size(), true, &settings));
    EXPECT_TRUE(settings.available);
    EXPECT_EQ(settings.driver_size, 20122);
    ASSERT_EQ(settings.working.size(), kBlock);
    EXPECT_EQ(orientation(settings.working), devmode::kLandscape);
    // dmFields is exactly DM_ORIENTATION: every other bit the driver set
    // is dropped; everything else is the driver's.
    EXPECT_EQ(fields(settings.working), 1u);
    EXPECT_EQ(get_i16(settings.working.data(), kBlock, devmode::kPaperSize), 9);
    EXPECT_EQ(std::memcmp(settings.working.data(), "OfficePDF", 9), 0);
    EXPECT_EQ(settings.working[160], 0xAB);
    EXPECT_EQ(settings.working[kBlock - 1], ' ');
    EXPECT_EQ(settings.saved, settings.working);

    ASSERT_TRUE(take_printer_settings(fetched.data(), fetched.size(), false, &settings));
    EXPECT_EQ(orientation(settings.working), devmode::kPortrait);
}

TEST(TakePrinterSettings, ALargerDriverBufferStillGives20122Bytes) {
    std::vector<uint8_t> fetched = driver_settings(30000, 156, 25000);
    fetched[kBlock] = 0xCD;  // beyond the block
    PrinterSettings settings;
    ASSERT_TRUE(take_printer_settings(fetched.data(), fetched.size(), false, &settings));
    EXPECT_EQ(settings.driver_size, 30000);
    EXPECT_EQ(settings.working.size(), kBlock);
    EXPECT_EQ(settings.saved.size(), kBlock);
}

TEST(TakePrinterSettings, WhatIsNotADevmodeIsRefused) {
    PrinterSettings settings;
    // The driver wrote nothing: the buffer is still blanks (dmSize 8224).
    const std::vector<uint8_t> blanks(kBlock, ' ');
    EXPECT_FALSE(take_printer_settings(blanks.data(), blanks.size(), false, &settings));
    EXPECT_FALSE(settings.available);
    EXPECT_TRUE(settings.working.empty());

    std::vector<uint8_t> small = driver_settings(kBlock, 40, 0);  // too short to hold the fields
    EXPECT_FALSE(take_printer_settings(small.data(), small.size(), false, &settings));

    std::vector<uint8_t> overlong = driver_settings(kBlock, 156, 20000);  // runs past the buffer
    EXPECT_FALSE(take_printer_settings(overlong.data(), overlong.size(), false, &settings));

    const std::vector<uint8_t> short_buffer = driver_settings(1000);
    EXPECT_FALSE(take_printer_settings(short_buffer.data(), short_buffer.size(), false, &settings));
    EXPECT_FALSE(take_printer_settings(nullptr, kBlock, false, &settings));
}

TEST(TakePrinterSettings, ARefusalForgetsEarlierSettings) {
    const std::vector<uint8_t> fetched = driver_settings(kBlock);
    PrinterSettings settings;
    ASSERT_TRUE(take_printer_settings(fetched.data(), fetched.size(), false, &settings));
    const std::vector<uint8_t> blanks(kBlock, ' ');
    EXPECT_FALSE(take_printer_settings(blanks.data(), blanks.size(), false, &settings));
    EXPECT_FALSE(settings.available);
    EXPECT_TRUE(reset_buffer(settings).empty());
}

TEST(JobOrientation, NeverWritesOutsideTheBlock) {
    uint8_t block[48];
    std::memset(block, 0x55, sizeof block);
    set_job_orientation(block, 45, true);  // dmOrientation would end at 46
    EXPECT_EQ(get_u32(block, 48, devmode::kFields), 1u);
    EXPECT_EQ(block[44], 0x55);
    EXPECT_EQ(block[45], 0x55);
}

TEST(RestoreWorkingBlock, EveryPageStartsFromTheSavedSettings) {
    const std::vector<uint8_t> fetched = driver_settings(kBlock);
    PrinterSettings settings;
    ASSERT_TRUE(take_printer_settings(fetched.data(), fetched.size(), true, &settings));
    // What rendering does to the block for a page.
    put_u32(settings.working.data(), kBlock, devmode::kFields, devmode::kPageFields);
    put_i16(settings.working.data(), kBlock, devmode::kOrientation, devmode::kPortrait);
    settings.working[kBlock - 1] = 'x';
    restore_working_block(&settings);
    EXPECT_EQ(settings.working, settings.saved);
    EXPECT_EQ(orientation(settings.working), devmode::kLandscape);

    PrinterSettings none;
    restore_working_block(&none);  // nothing there to restore
    EXPECT_TRUE(none.working.empty());
}

TEST(ResetBuffer, TheBlockInABufferOfTheDriversSize) {
    std::vector<uint8_t> fetched = driver_settings(30000, 156, 21000);
    PrinterSettings settings;
    ASSERT_TRUE(take_printer_settings(fetched.data(), fetched.size(), false, &settings));
    const std::vector<uint8_t> buffer = reset_buffer(settings);
    ASSERT_EQ(buffer.size(), 30000u);
    EXPECT_EQ(std::memcmp(buffer.data(), settings.working.data(), kBlock), 0);
    for (size_t i = kBlock; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0) << i;

    const std::vector<uint8_t> small = driver_settings(kBlock);
    ASSERT_TRUE(take_printer_settings(small.data(), small.size(), false, &settings));
    EXPECT_EQ(reset_buffer(settings).size(), kBlock);
}

}  // namespace
}  // namespace vell
