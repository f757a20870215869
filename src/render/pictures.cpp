#include "render/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "document/text.h"
#include "render/interpreter.h"

namespace vell {

bool SystemFileSystem::exists(const std::string& path) { return file_exists(path); }

bool SystemFileSystem::create_new(const std::string& path, File* file) {
    return file->create_new(path);
}

bool SystemFileSystem::remove(const std::string& path) { return delete_file(path); }

SystemFileSystem& system_file_system() {
    static SystemFileSystem files;
    return files;
}

std::string temp_directory(FileSystem& files) {
    std::string directory = trim(files.temp_path());
    if (directory.empty() || (directory.back() != '\\' && directory.back() != '/'))
        directory += '\\';
    return directory;
}

std::string temporary_name(const std::string& directory, const std::string& prefix, int serial,
                           const std::string& extension) {
    // The name without its extension has 8 characters: a prefix of up to 7
    // and the serial with the remaining digits.
    const std::string cut = prefix.substr(0, 7);
    const int digits = 8 - int(cut.size());
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, serial);
    return directory + cut + number + extension;
}

namespace {
constexpr int kLastSerial = 9999;
}  // namespace

std::string make_temporary_name(FileSystem& files, const std::string& prefix,
                                const std::string& extension) {
    const std::string directory = temp_directory(files);
    for (int serial = 1; serial <= kLastSerial; ++serial) {
        std::string name = temporary_name(directory, prefix, serial, extension);
        if (!files.exists(name)) return name;
    }
    return std::string();
}

std::string claim_temporary_file(FileSystem& files, const std::string& prefix,
                                 const std::string& extension, File* file) {
    const std::string directory = temp_directory(files);
    for (int serial = 1; serial <= kLastSerial; ++serial) {
        std::string name = temporary_name(directory, prefix, serial, extension);
        // The look skips leftovers cheaply; create-new decides, so a name
        // that another process takes in between is passed over too.
        if (files.exists(name)) continue;
        if (files.create_new(name, file)) return name;
        // A name taken in between is passed over; any other failure (a
        // temporary folder that is missing or cannot be written) would fail
        // for every further name as well.
        if (!files.exists(name)) break;
    }
    return std::string();
}

PictureSize fit_picture(int32_t bitmap_width, int32_t bitmap_height, int32_t box_width,
                        int32_t box_height) {
    PictureSize size;
    if (bitmap_width <= 0 || bitmap_height <= 0) return size;
    size.width = box_width;
    size.height = box_height;
    const double bitmap_ratio = double(bitmap_width) / bitmap_height;
    const double box_ratio = double(box_width) / double(box_height);  // inf or NaN for height 0
    if (bitmap_ratio > box_ratio)
        size.height = round_half_even(double(bitmap_height) * box_width / bitmap_width);
    else
        size.width = round_half_even(double(bitmap_width) * box_height / bitmap_height);
    return size;
}

size_t dib_row_bytes(int32_t width, int bits_per_pixel) {
    const uint64_t bits = uint64_t(width > 0 ? width : 0) * uint64_t(bits_per_pixel > 0 ? bits_per_pixel : 0);
    return size_t((bits + 31) / 32 * 4);
}

namespace {

// The largest bits buffer the printer path asks for. A bitmap file can claim
// dimensions that would need gigabytes; such a buffer is treated like one
// whose allocation failed, instead of exhausting the machine's memory.
constexpr uint64_t kMaxPrintBitsBytes = 256u * 1024u * 1024u;

// The printer path: the bitmap's bits fetched as a device-independent
// bitmap and stretched onto the printer. When the bits buffer cannot be had
// nothing is drawn.
void print_bitmap(Surface& surface, SurfaceHandle dc, SurfaceHandle bitmap, const BitmapInfo& info,
                  int x, int y, const PictureSize& size) {
    DibDescription description;
    description.width = info.width;
    description.height = info.height;
    description.bit_count = info.bits_pixel;
    const uint64_t total = uint64_t(dib_row_bytes(info.width, info.bits_pixel)) * uint64_t(info.height);
    if (total == 0 || total > kMaxPrintBitsBytes) return;
    // Zeroed, so that bits GetDIBits leaves unfilled (it fails, or fills
    // fewer rows) print as zeros, never as the memory's old contents.
    uint8_t* bits = new (std::nothrow) uint8_t[size_t(total)]();
    if (!bits) return;
    surface.get_dibits(dc, bitmap, 0, unsigned(info.height), bits, &description, gdi::kDibRgbColors);
    surface.stretch_dibits(x, y, size.width, size.height, 0, 0, info.width, info.height, bits,
                           &description, gdi::kDibRgbColors, gdi::kSrcCopy);
    delete[] bits;
}

// The bitmap file at path, loaded by the surface and drawn into the box.
void draw_loaded(Surface& surface, const std::string& path, float x1, float y1, float x2, float y2,
                 const DeviceMapping& mapping, bool printing) {
    SurfaceHandle bitmap = surface.load_bitmap_file(path.c_str());
    if (!bitmap) return;
    SurfaceHandle dc = surface.create_picture_dc();

    const int32_t box_width = mapping.length_x(std::fabs(double(x2) - double(x1)));
    const int32_t box_height = mapping.length_y(std::fabs(double(y2) - double(y1)));
    const int32_t x = mapping.map_x(x1);
    const int32_t y = mapping.map_y(y1);

    BitmapInfo info;
    if (dc && surface.bitmap_info(bitmap, &info) && info.width > 0 && info.height > 0) {
        const PictureSize size = fit_picture(info.width, info.height, box_width, box_height);
        if (!printing) {
            SurfaceHandle previous = surface.select_into(dc, bitmap);
            surface.stretch_blt(x, y, size.width, size.height, dc, 0, 0, info.width, info.height,
                                gdi::kSrcCopy);
            surface.select_into(dc, previous);
        } else {
            print_bitmap(surface, dc, bitmap, info, x, y, size);
        }
    }
    surface.delete_object(bitmap);
    if (dc) surface.delete_dc(dc);
}

void tell_reduced_picture() {
    ReducedPictureNoticeState& state = reduced_picture_notice_state();
    if (state.told) return;
    state.told = true;
    if (render_hooks().picture_notice) render_hooks().picture_notice(reduced_picture_notice());
}

}  // namespace

void draw_picture(Surface& surface, FileSystem& files, const std::string& path, float x1,
                  float y1, float x2, float y2, const DeviceMapping& mapping, bool printing,
                  PictureBudget& budget) {
    if (!files.exists(path)) return;
    // The header's claim is checked before anything loads the pixels.
    File source;
    BitmapHeader header;
    ReducedSize size;
    if (source.open_read(path) && read_bitmap_header(source, &header)) {
        const PictureSize drawn = fit_picture(
            int32_t(std::min<int64_t>(header.width, INT32_MAX)),
            int32_t(std::min<int64_t>(header.height, INT32_MAX)),
            mapping.length_x(std::fabs(double(x2) - double(x1))),
            mapping.length_y(std::fabs(double(y2) - double(y1))));
        const uint64_t drawn_pixels =
            uint64_t(std::max(drawn.width, 0)) * uint64_t(std::max(drawn.height, 0));
        size = take_from_budget(budget, header.width, header.height, drawn_pixels);
    }
    if (!size.reduced) {
        source.close();
        draw_loaded(surface, path, x1, y1, x2, y2, mapping, printing);
        return;
    }
    tell_reduced_picture();
    File copy;
    const std::string reduced = claim_temporary_file(files, kPicturePrefix, kPictureExtension, &copy);
    if (reduced.empty()) return;
    const bool written = write_reduced_bitmap(source, header, size.width, size.height, &copy);
    copy.close();
    source.close();
    if (written) draw_loaded(surface, reduced, x1, y1, x2, y2, mapping, printing);
    files.remove(reduced);
}

void draw_embedded_picture(Surface& surface, FileSystem& files, const std::string& data,
                           float x1, float y1, float x2, float y2, const DeviceMapping& mapping,
                           bool printing, PictureBudget& budget) {
    File file;
    const std::string path = claim_temporary_file(files, kPicturePrefix, kPictureExtension, &file);
    if (path.empty()) return;
    // A failed write leaves whatever was written; the picture loader then
    // draws what it can make of it, or nothing.
    if (!data.empty()) file.write_at(0, data.data(), data.size());
    file.close();
    draw_picture(surface, files, path, x1, y1, x2, y2, mapping, printing, budget);
    files.remove(path);  // a failure leaves a leftover that later searches skip
}

}  // namespace vell
