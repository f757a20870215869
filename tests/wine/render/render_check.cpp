// Pixel tests of page rendering under Wine: render_check CASE VELLRENDER WORKDIR
//
// Writes the case's document into WORKDIR, has vellrender.exe draw it into
// a bitmap file, reads the bitmap back and checks that the case's lines,
// boxes, texts and pictures landed on the expected pixels. Text positions
// are checked against the widths this Wine's own fonts give, measured here
// with the same fonts. Prints what it checks; exit code 0 when all holds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "document/bytes.h"
#include "render/fonts.h"
#include "render/gdi_surface_win.h"
#include "vel_writer.h"

namespace {

using vell::Bytes;
using vell::PageBuilder;

int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

std::string hex(uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "%06X", unsigned(v));
    return s;
}

// A 24-bit bitmap file read back: pixels as 0x00RRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
    bool dark(int x, int y) const {
        uint32_t p = at(x, y);
        return p != 0xFFFFFFFF && ((p >> 16) & 0xFF) < 128 && ((p >> 8) & 0xFF) < 128 && (p & 0xFF) < 128;
    }
};

bool read_bmp(const std::string& path, Image* image) {
    Bytes b;
    if (!vell::read_file(path, &b) || b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t offset = vell::get_u32(b, 10);
    image->width = vell::get_i32(b, 18);
    const int32_t height = vell::get_i32(b, 22);
    if (vell::get_i16(b, 28) != 24 || image->width <= 0 || height == 0) return false;
    image->height = height < 0 ? -height : height;
    const size_t stride = size_t((image->width * 3 + 3) / 4 * 4);
    if (b.size() < offset + stride * size_t(image->height)) return false;
    image->pixels.resize(size_t(image->width) * size_t(image->height));
    for (int row = 0; row < image->height; ++row) {
        const int y = height < 0 ? row : image->height - 1 - row;
        const uint8_t* p = b.data() + offset + size_t(row) * stride;
        for (int x = 0; x < image->width; ++x, p += 3)
            image->pixels[size_t(y) * size_t(image->width) + size_t(x)] =
                uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    return true;
}

// Runs vellrender and waits for it (at most 60 seconds).
int run_vellrender(const std::string& exe, const std::string& arguments) {
    std::string command = "\"" + exe + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = DWORD(-2);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(code);
}

// Writes a one-page document and renders it; the image read back.
bool render(const std::string& exe, const std::string& dir, const std::string& name, const Bytes& page,
            const std::string& options, Image* image, int32_t display_option = 0) {
    vell::DocumentPlan contents;
    contents.title = name;
    contents.display_option = display_option;
    contents.pages = {page};
    const std::string doc = dir + "\\" + name + ".vel";
    const std::string out = dir + "\\" + name + ".bmp";
    if (!vell::write_file(doc, vell::write_document(contents))) {
        check(false, "write " + doc);
        return false;
    }
    const int code = run_vellrender(exe, "\"" + doc + "\" 1 \"" + out + "\" " + options);
    check(code == 0, "vellrender " + name + " " + options + " exits with 0 (got " + std::to_string(code) + ")");
    if (code != 0) return false;
    bool ok = read_bmp(out, image);
    check(ok, "read " + out);
    return ok;
}

void expect_pixel(const Image& image, int x, int y, uint32_t rgb, const std::string& what) {
    uint32_t got = image.at(x, y);
    check(got == rgb, what + " (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + hex(rgb) +
                          (got == rgb ? "" : ", got " + hex(got)));
}

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kGreen = 0x00FF00,
                   kBlue = 0x0000FF, kGrey = 0x808080;

// The dark pixels' bounding box inside a band of rows.
struct Ink {
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1, count = 0;
};
Ink ink(const Image& image, int x0, int y0, int x1, int y1) {
    Ink k;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (image.dark(x, y)) {
                k.left = x < k.left ? x : k.left;
                k.right = x > k.right ? x : k.right;
                k.top = y < k.top ? y : k.top;
                k.bottom = y > k.bottom ? y : k.bottom;
                ++k.count;
            }
    return k;
}

// The width Windows gives a text in a font, and the font's line height.
struct Measure {
    int width = 0;
    TEXTMETRICA metrics{};
};
Measure measure(const char* face, int height, int escapement, const std::string& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfEscapement = lf.lfOrientation = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfQuality = PROOF_QUALITY;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    Measure m;
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), int(text.size()), &size);
    m.width = size.cx;
    GetTextMetricsA(dc, &m.metrics);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return m;
}

// A bitmap file: left half red, right half blue, 20 x 10 pixels.
Bytes two_colour_bitmap() {
    const int w = 20, h = 10, row = (w * 3 + 3) / 4 * 4;
    Bytes b;
    vell::append_u8(b, 'B');
    vell::append_u8(b, 'M');
    vell::append_u32(b, uint32_t(54 + row * h));
    vell::append_u32(b, 0);
    vell::append_u32(b, 54);
    vell::append_u32(b, 40);
    vell::append_i32(b, w);
    vell::append_i32(b, h);
    vell::append_i16(b, 1);
    vell::append_i16(b, 24);
    for (int i = 0; i < 6; ++i) vell::append_u32(b, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool red = x < w / 2;
            vell::append_u8(b, red ? 0 : 255);  // blue
            vell::append_u8(b, 0);
            vell::append_u8(b, red ? 255 : 0);  // red
        }
        b.resize(b.size() + size_t(row - w * 3), 0);
    }
    return b;
}

// ---- Cases ---------------------------------------------------------------------

void case_line(const std::string& exe, const std::string& dir) {
    Image image;
    const Bytes page = PageBuilder().line(1, 1, 3, 1, 0.5f, 0x000000).line(1, 2, 3, 2, 3.0f, 0x0000FF).bytes();
    if (!render(exe, dir, "line", page, "", &image)) return;
    check(image.width == 816 && image.height == 1056, "a Letter page at 96 dpi is 816 x 1056");
    bool all = true;
    for (int x = 96; x < 288; ++x) all = all && image.at(x, 96) == kBlack;
    check(all, "the 0.5-point line is one black pixel from x 96 to 287 on row 96");
    expect_pixel(image, 288, 96, kWhite, "LineTo leaves out its end point");
    expect_pixel(image, 95, 96, kWhite, "nothing before the start");
    expect_pixel(image, 150, 95, kWhite, "one pixel thick");
    expect_pixel(image, 150, 97, kWhite, "one pixel thick");
    // 3 points at 96 dpi: a 4-pixel pen, red (COLORREF 0x0000FF).
    int thick = 0;
    for (int y = 186; y < 198; ++y) thick += image.at(150, y) == kRed ? 1 : 0;
    check(thick == 4, "the 3-point line is 4 pixels thick (got " + std::to_string(thick) + ")");
    expect_pixel(image, 150, 192, kRed, "the thick line covers its row");
}

void case_box(const std::string& exe, const std::string& dir) {
    Image image;
    const Bytes page = PageBuilder()
                           .box(0.5f, 0.5f, 2.5f, 2.5f, 0, 0x000000, 0x000000)
                           .box(1, 1, 2, 2, -1, 0x00FF00, 0x0000FF)
                           .bytes();
    if (!render(exe, dir, "box", page, "", &image)) return;
    for (auto p : {std::make_pair(96, 96), {150, 96}, {191, 150}, {150, 191}, {96, 191}, {191, 191}})
        expect_pixel(image, p.first, p.second, kWhite, "the white outline");
    for (auto p : {std::make_pair(97, 97), {150, 150}, {190, 190}})
        expect_pixel(image, p.first, p.second, kGreen, "the fill");
    for (auto p : {std::make_pair(95, 150), {192, 150}, {150, 192}, {150, 95}, {49, 49}})
        expect_pixel(image, p.first, p.second, kBlack, "the black box around it");
    expect_pixel(image, 240, 240, kWhite, "past the black box's right and bottom edges");
}

void case_text(const std::string& exe, const std::string& dir) {
    Image image;
    // 20 points at 96 dpi: lfHeight -27.
    const Bytes page = PageBuilder()
                           .font(0, 20.0f, 0x000000, "Arial")
                           .aligned_text(1, 1, 0, "HHHH")
                           .aligned_text(4, 2, 2, "HHHH")
                           .aligned_text(4, 3, 1, "HHHH")
                           .aligned_text(4, 4, 3, "12.50")
                           .rotated_text(1, 7, 90, "HHHHHH")
                           .bytes();
    if (!render(exe, dir, "text", page, "", &image)) return;
    const Measure h4 = measure("Arial", -27, 0, "HHHH");
    const int cell = h4.metrics.tmHeight;
    std::printf("Arial -27: HHHH is %d pixels wide, cell %d high\n", h4.width, cell);
    check(h4.width > 40, "the font measures");

    Ink left = ink(image, 0, 96, 816, 96 + cell);
    check(left.count > 50 && left.left >= 96 && left.left <= 100 && left.right < 96 + h4.width,
          "left-aligned text starts at x 96 (ink " + std::to_string(left.left) + ".." + std::to_string(left.right) + ")");
    check(left.top >= 96 && left.top < 96 + cell / 2, "y is the top of the character cell");

    Ink right = ink(image, 0, 192, 816, 192 + cell);
    check(right.count > 50 && right.right < 384 && right.right >= 384 - 4 && right.left >= 384 - h4.width,
          "right-aligned text ends at x 384 (ink " + std::to_string(right.left) + ".." + std::to_string(right.right) + ")");

    Ink centre = ink(image, 0, 288, 816, 288 + cell);
    const int middle = (centre.left + centre.right + 1) / 2;
    check(centre.count > 50 && middle >= 384 - 3 && middle <= 384 + 3,
          "centred text is centred on x 384 (ink " + std::to_string(centre.left) + ".." + std::to_string(centre.right) + ")");

    const Measure upto = measure("Arial", -27, 0, "12.");
    const Measure whole = measure("Arial", -27, 0, "12.50");
    Ink decimal = ink(image, 0, 384, 816, 384 + cell);
    check(decimal.count > 50 && decimal.left >= 384 - upto.width && decimal.left <= 384 - upto.width + 6 &&
              decimal.right > 384 && decimal.right < 384 - upto.width + whole.width,
          "decimal alignment puts the point's right edge on x 384 (ink " + std::to_string(decimal.left) + ".." +
              std::to_string(decimal.right) + ", shift " + std::to_string(upto.width) + ")");
    Ink point = ink(image, 384 - 8, 384, 384, 384 + cell);
    check(point.count > 0, "the point is drawn just left of x 384");

    // Turned 90 degrees counterclockwise about the cell's top-left corner,
    // the text runs upwards from (96, 672) with its cell right of x 96.
    const Measure h6 = measure("Arial", -27, 900, "HHHHHH");
    Ink up = ink(image, 0, 480, 816, 1056);
    check(up.count > 50, "the rotated text is drawn");
    check(up.bottom <= 672 + 2 && up.top >= 672 - h6.width - 2 && up.bottom - up.top > h6.width / 2,
          "rotated by 90 degrees it runs upwards from y 672 (ink rows " + std::to_string(up.top) + ".." +
              std::to_string(up.bottom) + ")");
    check(up.left >= 96 - 2 && up.right <= 96 + cell + 2 && up.right - up.left < cell,
          "and stands in one cell height right of x 96 (ink columns " + std::to_string(up.left) + ".." +
              std::to_string(up.right) + ")");
}

void case_boxed_text(const std::string& exe, const std::string& dir) {
    Image image;
    const Bytes page = PageBuilder()
                           .box(3.5f, 1, 6, 2, 0, kGrey, kGrey)
                           .boxed_text(5, 1.25f, 1, 2, "X")
                           .bytes();
    if (!render(exe, dir, "boxed", page, "", &image)) return;
    // The initial font, 8-point Arial at 96 dpi.
    const Measure m = measure("Arial", -11, 0, "X");
    const int line = m.metrics.tmHeight + m.metrics.tmInternalLeading + m.metrics.tmExternalLeading;
    const int top = 120, bottom = top + line;
    expect_pixel(image, 385, top + 1, kWhite, "the box is filled from x 384");
    expect_pixel(image, 383, top + 1, kGrey, "and not before");
    expect_pixel(image, 480, top + 1, kGrey, "the box ends before x 480");
    expect_pixel(image, 479 - m.width - 2, bottom - 1, kWhite, "the box's last row");
    expect_pixel(image, 400, bottom, kGrey, "the box is one line high");
    Ink x = ink(image, 384, top, 480, bottom);
    check(x.count > 5 && x.right < 480 && x.right >= 480 - 3 && x.left >= 480 - m.width - 1,
          "the right-aligned text ends at x 480 (ink " + std::to_string(x.left) + ".." + std::to_string(x.right) + ")");
}

void picture_checks(const Image& image) {
    // 20 x 10 into a 2 x 2 inch box at (1, 1): 192 x 96 at (96, 96).
    expect_pixel(image, 96, 96, kRed, "the picture's top-left corner");
    expect_pixel(image, 150, 140, kRed, "its left half");
    expect_pixel(image, 287, 191, kBlue, "its bottom-right corner");
    expect_pixel(image, 150, 192, kWhite, "below the picture the box stays as it was");
    expect_pixel(image, 288, 150, kWhite, "right of the picture");
    // The same picture from a file into a 1 x 2 inch box at (4, 1): the
    // full width, 96 x 48.
    expect_pixel(image, 384, 96, kRed, "the file picture's corner");
    expect_pixel(image, 479, 143, kBlue, "its bottom-right corner");
    expect_pixel(image, 430, 144, kWhite, "below it");
    // A box given from bottom-right to top-left: the corner stays first.
    expect_pixel(image, 576, 384, kRed, "the reversed box's first corner");
    expect_pixel(image, 575, 383, kWhite, "nothing above and left of it");
}

Bytes picture_page(const std::string& dir) {
    const std::string file = dir + "\\picture.bmp";
    vell::write_file(file, two_colour_bitmap());
    return PageBuilder()
        .embedded_picture(1, 1, 3, 3, two_colour_bitmap())
        .picture_file(4, 1, 5, 3, "  " + file + "  ")
        .embedded_picture(6, 4, 5, 3, two_colour_bitmap())
        .bytes();
}

void case_picture(const std::string& exe, const std::string& dir) {
    Image image;
    if (render(exe, dir, "picture", picture_page(dir), "", &image)) picture_checks(image);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string leftover = std::string(temp) + "~DB00001.bmp";
    check(GetFileAttributesA(leftover.c_str()) == INVALID_FILE_ATTRIBUTES, "the temporary picture is deleted");
}

void case_picture_printer(const std::string& exe, const std::string& dir) {
    Image image;
    if (render(exe, dir, "picture_printer", picture_page(dir), "--printer", &image)) picture_checks(image);
}

void case_zoom(const std::string& exe, const std::string& dir) {
    const Bytes page = PageBuilder().line(1, 1, 2, 1, 0, 0).bytes();
    Image shrink, plain, large;
    if (render(exe, dir, "zoom_shrink", page, "--zoom 0.75", &shrink, 0x800)) {
        check(shrink.width == 816 && shrink.height == 1056, "display option 0x800 draws 75 % at full size");
        expect_pixel(shrink, 96, 96, kBlack, "the line at full size");
    }
    if (render(exe, dir, "zoom_plain", page, "--zoom 0.75", &plain)) {
        check(plain.width == 612 && plain.height == 792, "75 % is 612 x 792");
        expect_pixel(plain, 72, 72, kBlack, "the line at 75 %");
        expect_pixel(plain, 71, 72, kWhite, "and not before");
    }
    if (render(exe, dir, "zoom_dpi", PageBuilder(9, 1, 7).line(1, 1, 2, 1, 0, 0).bytes(), "--dpi 192", &large)) {
        check(large.width == 2245 && large.height == 1587, "A4 landscape at 192 dpi is 2245 x 1587 (got " +
                                                               std::to_string(large.width) + " x " +
                                                               std::to_string(large.height) + ")");
        expect_pixel(large, 192, 192, kBlack, "the line at 192 dpi");
    }
}

// The GDI surface's font pool, on its own: the same LOGFONTA gives the
// same handle, DeleteObject only hands it back, the pool deletes its fonts
// when it ends (never one still selected in the target) and stays bounded.
void case_font_pool(const std::string&, const std::string&) {
    HDC target = CreateCompatibleDC(nullptr);
    HGDIOBJ original = GetCurrentObject(target, OBJ_FONT);
    HGDIOBJ first = nullptr, selected = nullptr;
    {
        vell::GdiSurface surface(target);
        const vell::LogFont arial = vell::make_logfont("Arial", 1, 12, 0, 96);
        vell::SurfaceHandle a = surface.create_font_indirect(arial);
        vell::SurfaceHandle b = surface.create_font_indirect(arial);
        vell::SurfaceHandle c = surface.create_font_indirect(vell::make_logfont("Arial", 1, 12, 90, 96));
        check(a != 0 && a == b, "the same font twice is one handle");
        check(c != 0 && c != a, "another escapement is another font");
        first = reinterpret_cast<HGDIOBJ>(a);
        surface.select_object(a);
        check(surface.delete_object(a) && surface.delete_object(b), "DeleteObject of pooled fonts succeeds");
        check(GetObjectType(first) == OBJ_FONT, "and the font lives on in the pool");
        LOGFONTA lf{};
        GetObjectA(first, sizeof lf, &lf);
        check(lf.lfHeight == -16 && lf.lfWeight == 700 && std::string(lf.lfFaceName) == "Arial",
              "the pooled font is the LOGFONTA asked for");
        SIZE size{};
        check(GetTextExtentPoint32A(target, "Pool", 4, &size) && size.cx > 10, "and measures text");
        surface.select_object(reinterpret_cast<vell::SurfaceHandle>(original));
        surface.delete_object(c);
        for (int i = 0; i < 100; ++i) {
            vell::SurfaceHandle f = surface.create_font_indirect(vell::make_logfont("Arial", 0, 6 + i * 0.5, 0, 96));
            if (i == 99) {
                selected = reinterpret_cast<HGDIOBJ>(f);
                surface.select_object(f);
            }
            surface.delete_object(f);
        }
        check(surface.pooled_fonts() <= vell::GdiSurface::kFontPoolSize,
              "the pool holds at most " + std::to_string(vell::GdiSurface::kFontPoolSize) + " fonts (" +
                  std::to_string(surface.pooled_fonts()) + ")");
        check(GetObjectType(first) == 0, "the oldest unused font was deleted to make room");
    }
    check(GetObjectType(selected) == OBJ_FONT, "a font still selected in the target outlives the surface");
    SelectObject(target, original);
    DeleteObject(selected);
    DeleteDC(target);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_check CASE VELLRENDER_EXE WORKDIR\n");
        return 2;
    }
    const std::map<std::string, std::function<void(const std::string&, const std::string&)>> cases = {
        {"line", case_line},       {"box", case_box},         {"text", case_text},
        {"boxed_text", case_boxed_text}, {"picture", case_picture}, {"picture_printer", case_picture_printer},
        {"zoom", case_zoom},       {"font_pool", case_font_pool},
    };
    auto found = cases.find(argv[1]);
    if (found == cases.end()) {
        std::fprintf(stderr, "render_check: no case %s\n", argv[1]);
        return 2;
    }
    found->second(argv[2], argv[3]);
    std::printf("%s: %s\n", argv[1], failures ? "FAILED" : "passed");
    return failures ? 1 : 0;
}
