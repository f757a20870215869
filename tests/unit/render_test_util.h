// Shared by the rendering tests: a fixture that puts the process-wide
// rendering state back to its defaults around every test, renders page
// bytes onto a recording surface, and writes small bitmap files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "document/bytes.h"
#include "render/interpreter.h"
#include "render/recording_surface.h"
#include "render/picture_budget.h"
#include "render/unknown_notice.h"
#include "render/units.h"
#include "vel_writer.h"

namespace vell {
namespace testing_render {

// A directory of its own, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("vell-render-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A Windows bitmap file: BITMAPFILEHEADER, BITMAPINFOHEADER, 24-bit rows.
inline Bytes bitmap_file(int32_t width, int32_t height, uint16_t bits = 24) {
    const uint32_t row = uint32_t((width * bits + 31) / 32 * 4);
    const uint32_t colours = bits <= 8 ? (1u << bits) * 4 : 0;
    const uint32_t offset = 14 + 40 + colours;
    Bytes b;
    append_u8(b, 'B');
    append_u8(b, 'M');
    append_u32(b, offset + row * uint32_t(height));
    append_u32(b, 0);
    append_u32(b, offset);
    append_u32(b, 40);
    append_i32(b, width);
    append_i32(b, height);
    append_i16(b, 1);
    append_i16(b, int16_t(bits));
    append_u32(b, 0);
    append_u32(b, row * uint32_t(height));
    append_i32(b, 2835);
    append_i32(b, 2835);
    append_u32(b, 0);
    append_u32(b, 0);
    for (uint32_t i = 0; i < colours / 4; ++i) append_u32(b, i & 1 ? 0xFFFFFF : 0);
    b.resize(b.size() + row * uint32_t(height), 0x80);
    return b;
}

inline std::string as_text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Where and how a test renders.
struct RenderTarget {
    Resolution device{96, 96};
    Resolution desktop{96, 96};
    int32_t resolution_x = 96;
    int32_t resolution_y = 96;
    int32_t origin_x = 0;
    int32_t origin_y = 0;
    bool printing = false;
    int32_t display_option = 0;
    int16_t page_number = 1;
    int32_t page_count = 1;
    uint8_t* printer_settings = nullptr;
    int32_t driver_settings_size = 0;
};

// Page bytes as the interpreter and the page-text reader take them.
inline PageSource page_source(const Bytes& page, int16_t number = 1, int32_t count = 1) {
    PageSource source;
    source.bytes = page.data();
    source.size = page.size();
    source.page_number = number;
    source.page_count = count;
    return source;
}

// Resets every piece of process-wide rendering state before and after each
// test, so tests never see each other's zoom, geometry or hooks.
class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset() {
        zoom_factor() = ZoomFactor();
        display_units() = DisplayUnits();
        page_geometry() = PageGeometry();
        decimal_separator() = DecimalSeparator();
        render_hooks().fit_page_area = nullptr;
        render_hooks().show_notice = nullptr;
        render_hooks().files = nullptr;
        unknown_notice_state() = UnknownNoticeState();
        render_hooks().picture_notice = nullptr;
        reduced_picture_notice_state() = ReducedPictureNoticeState();
    }

    using Target = RenderTarget;

    // Renders page bytes on a fresh recording surface.
    static RecordingSurface render(const Bytes& page, const Target& target = Target()) {
        RecordingSurface surface(target.device, target.desktop);
        render_into(surface, page, target);
        return surface;
    }

    static void render_into(RecordingSurface& surface, const Bytes& page, const Target& target) {
        PageSource source = page_source(page, target.page_number, target.page_count);
        source.display_option = target.display_option;
        render_page_bytes(source, surface, target.resolution_x, target.resolution_y,
                          target.origin_x, target.origin_y, target.printing ? 1 : 0,
                          target.printer_settings, target.driver_settings_size);
    }

    // The texts drawn with TextOutA, in order.
    static std::vector<std::string> texts_out(const RecordingSurface& surface) {
        std::vector<std::string> out;
        for (const RecordedCall& call : surface.calls_of(SurfaceOp::kTextOut)) out.push_back(call.text);
        return out;
    }

    // A page must leave the device context as it found it: the stock objects
    // selected, nothing of its own alive, no misuse.
    static void expect_device_context_restored(const RecordingSurface& surface) {
        EXPECT_EQ(surface.selected_pen(), surface.stock_pen());
        EXPECT_EQ(surface.selected_brush(), surface.stock_brush());
        EXPECT_EQ(surface.selected_font(), surface.stock_font());
        EXPECT_EQ(surface.live_objects(), 0u);
        EXPECT_TRUE(surface.problems().empty())
            << (surface.problems().empty() ? "" : surface.problems().front());
    }
};

}  // namespace testing_render
}  // namespace vell
