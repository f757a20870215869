// Pictures of a page: picture file records and embedded pictures, drawn
// into their box with the bitmap's proportions kept; and the temporary
// names that embedded pictures (and e-mail attachments) are written under.
#pragma once

#include <cstdint>
#include <string>

#include "document/file_io.h"
#include "render/picture_budget.h"
#include "render/surface.h"
#include "render/units.h"

namespace vell {

// The files pictures need, behind one interface so tests can put the
// temporary directory elsewhere and play a second viewer taking a name.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The temporary directory as the platform reports it (GetTempPathA).
    virtual std::string temp_path() = 0;
    virtual bool exists(const std::string& path) = 0;
    // Creates a file that must not exist yet and opens it for writing:
    // false when the name is taken, even by a file made a moment ago.
    virtual bool create_new(const std::string& path, File* file) = 0;
    virtual bool remove(const std::string& path) = 0;
};

// The process's files: the platform's temporary directory (temp_path_win.cpp,
// temp_path_posix.cpp) and the document reader's file operations.
class SystemFileSystem : public FileSystem {
public:
    std::string temp_path() override;
    bool exists(const std::string& path) override;
    bool create_new(const std::string& path, File* file) override;
    bool remove(const std::string& path) override;
};
SystemFileSystem& system_file_system();

// The temporary directory: the platform's value with blanks removed at both
// ends and a backslash added when it ends in neither a backslash nor a
// slash.
std::string temp_directory(FileSystem& files);

// Temporary file name for serial n: directory + prefix (cut to 7
// characters) + n with 8 - prefix length digits, zero-padded + extension.
// "~DB" and ".bmp" give ~DB00001.bmp.
std::string temporary_name(const std::string& directory, const std::string& prefix, int serial,
                           const std::string& extension);

// Make a temporary name: the first name for serial 1..9999 that does not
// exist; empty when all are taken.
std::string make_temporary_name(FileSystem& files, const std::string& prefix,
                                const std::string& extension);

// Claims a temporary name: like make_temporary_name, but the file is
// created at once with create-new, so two viewers never take the same name
// (a name taken between the look and the creation is skipped). The first
// failure that leaves the name free (the folder cannot be written) ends the
// search. The open file is handed back in file; empty when no name could be
// claimed.
std::string claim_temporary_file(FileSystem& files, const std::string& prefix,
                                 const std::string& extension, File* file);

constexpr char kPicturePrefix[] = "~DB";
constexpr char kPictureExtension[] = ".bmp";

// The size a picture is drawn at inside a box of w x h pixels: the full
// width when the bitmap is wider than the box, else the full height, with
// the bitmap's proportions kept. A bitmap with no pixels gives 0 x 0.
struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};
PictureSize fit_picture(int32_t bitmap_width, int32_t bitmap_height, int32_t box_width,
                        int32_t box_height);

// Bytes per row of a device-independent bitmap: width x bits per pixel,
// rounded up to a multiple of 4 bytes.
size_t dib_row_bytes(int32_t width, int bits_per_pixel);

// Draw a picture: the bitmap file at path into the box (x1, y1)-(x2, y2)
// (inches), top-left corner at the mapped (x1, y1), size from the box's
// absolute width and height. On the screen with StretchBlt; on a printer
// through GetDIBits and StretchDIBits. The bitmap's pixels come off the
// page's budget; one beyond it is drawn from a reduced copy written to a
// temporary "~DB" name, and the user is told once (picture_budget.h).
void draw_picture(Surface& surface, FileSystem& files, const std::string& path, float x1,
                  float y1, float x2, float y2, const DeviceMapping& mapping, bool printing,
                  PictureBudget& budget);

// Embedded picture: write the bitmap file bytes to a claimed temporary
// "~DB" name, draw it, delete it. Skipped when no name can be claimed.
void draw_embedded_picture(Surface& surface, FileSystem& files, const std::string& data,
                           float x1, float y1, float x2, float y2, const DeviceMapping& mapping,
                           bool printing, PictureBudget& budget);

}  // namespace vell
