// The Wine benchmark of page rendering: the dense page drawn with the GDI
// surface into a memory device context, against PlayEnhMetaFile of an
// enhanced metafile recorded from that same drawing, side by side in one
// run. Rendering is timed with a new surface for every render (its font
// pool starts empty each time) and with one surface kept for all renders,
// as a viewer can keep one for its page image. Every render and playback
// starts from a white image, and renders and playbacks alternate, so a
// busy machine slows both alike. The goal is a render no slower than the
// playback.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "../../bench/dense_page.h"
#include "page_image_win.h"
#include "render/gdi_surface_win.h"
#include "render/interpreter.h"
#include "render/units.h"

namespace vell {

namespace {

double seconds_now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

void render_dense(GdiSurface& surface, const Bytes& page, int dpi) {
    surface.set_reported_resolution(Resolution{dpi, dpi});
    PageSource source;
    source.bytes = page.data();
    source.size = page.size();
    source.page_number = 1;
    source.page_count = 1;
    render_page_bytes(source, surface, dpi, dpi, 0, 0, 0, nullptr, 0);
    GdiFlush();
}

long ink(const PageImage& image) {
    long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != 0xFFFFFF;
    return n;
}

}  // namespace

int run_metafile_bench(int repeat, int dpi) {
    const Bytes page = dense_page();
    zoom_factor().value = 1.0;
    const int width = round_half_even(8.5 * dpi);
    const int height = round_half_even(11.0 * dpi);
    PageImage rendered(width, height);
    PageImage played(width, height);
    if (!rendered.ok() || !played.ok()) {
        std::fprintf(stderr, "bench: cannot make the images\n");
        return 3;
    }

    // The metafile of one render, recorded with the image as reference.
    HDC recorder = CreateEnhMetaFileA(rendered.dc(), nullptr, nullptr, nullptr);
    {
        GdiSurface surface(recorder);
        render_dense(surface, page, dpi);
    }
    HENHMETAFILE metafile = CloseEnhMetaFile(recorder);
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile, sizeof header, &header);
    // PlayEnhMetaFile maps the picture frame onto the rectangle it is given;
    // the frame in the reference's pixels puts every record where it was
    // drawn.
    auto pixels_x = [&](LONG v) { return round_half_even(double(v) * header.szlDevice.cx / (header.szlMillimeters.cx * 100.0)); };
    auto pixels_y = [&](LONG v) { return round_half_even(double(v) * header.szlDevice.cy / (header.szlMillimeters.cy * 100.0)); };
    const RECT frame{pixels_x(header.rclFrame.left), pixels_y(header.rclFrame.top),
                     pixels_x(header.rclFrame.right), pixels_y(header.rclFrame.bottom)};

    // Two phases, each interleaving renders with playbacks: first a new
    // surface for every render, then one surface kept for all of them (its
    // pooled fonts would otherwise warm the first phase too).
    struct Phase {
        double render = 0;
        double play = 0;
    } phases[2];
    for (int phase = 0; phase < 2; ++phase) {
        std::unique_ptr<GdiSurface> kept;
        if (phase == 1) kept = std::make_unique<GdiSurface>(rendered.dc());
        for (int round = -1; round < repeat; ++round) {  // round -1 warms up
            rendered.clear();
            const double t0 = seconds_now();
            if (kept) {
                render_dense(*kept, page, dpi);
            } else {
                GdiSurface fresh(rendered.dc());
                render_dense(fresh, page, dpi);
            }
            const double t1 = seconds_now();
            played.clear();
            const double t2 = seconds_now();
            PlayEnhMetaFile(played.dc(), metafile, &frame);
            GdiFlush();
            const double t3 = seconds_now();
            if (round < 0) continue;
            phases[phase].render += t1 - t0;
            phases[phase].play += t3 - t2;
        }
    }

    const double ms = 1000.0 / repeat;
    std::printf("dense page: %lu bytes, %d x %d pixels at %d dpi, %d rounds, metafile %u bytes\n",
                (unsigned long)page.size(), width, height, dpi, repeat, unsigned(header.nBytes));
    const char* names[2] = {"new surface each render", "one surface kept"};
    for (int phase = 0; phase < 2; ++phase)
        std::printf("%-24s render %8.3f ms, PlayEnhMetaFile %8.3f ms per page, render / playback %.3f\n",
                    names[phase], phases[phase].render * ms, phases[phase].play * ms,
                    phases[phase].play > 0 ? phases[phase].render / phases[phase].play : 0.0);
    // Both images hold the same page: the same places inked, though the
    // metafile's text is drawn by another call (ExtTextOutW with spacing).
    std::printf("pixels inked: rendered %ld, played back %ld\n", ink(rendered), ink(played));
    DeleteEnhMetaFile(metafile);
    return 0;
}

}  // namespace vell
