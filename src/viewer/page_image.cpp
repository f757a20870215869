#include "viewer/page_image.h"

#include "document/format.h"

namespace vell {

namespace {

constexpr int kFirstPaper = 1;
constexpr int kLastPaper = 41;
// One edge line on each side of the page.
constexpr int32_t kEdgeLines = 2;

int32_t larger(int32_t a, int32_t b) { return a > b ? a : b; }

int32_t valid_resolution(int value) { return value < 1 ? 96 : value; }

}  // namespace

ImageSize page_image_size(Resolution screen) {
    // Landscape takes the resolutions crosswise, so either paper dimension
    // can lie along either axis at either resolution.
    const int32_t resolution = larger(valid_resolution(screen.x), valid_resolution(screen.y));
    int32_t side = 0;
    for (int code = kFirstPaper; code <= kLastPaper; ++code) {
        for (int selector = 0; selector <= 1; ++selector) {
            const double inches = paper_size(code, selector);
            side = larger(side, round_half_even(inches * resolution * kLargestZoom));
        }
    }
    return ImageSize{side + kEdgeLines, side + kEdgeLines};
}

ImageSize image_size_holding(ImageSize base, PixelExtent extent) {
    auto side = [](int32_t have, int32_t page) {
        const int64_t need = int64_t(page) + kEdgeLines;
        if (need <= have) return have;
        return int32_t(need > kMaxImageSide ? kMaxImageSide : need);
    };
    ImageSize wanted{side(base.width, extent.width), side(base.height, extent.height)};
    if (int64_t(wanted.width) * wanted.height > kMaxImagePixels)
        wanted.height = larger(1, int32_t(kMaxImagePixels / larger(1, wanted.width)));
    return wanted;
}

std::vector<ImageSize> image_size_fallbacks(ImageSize wanted, ImageSize base) {
    // Steps this close to base are not worth another try.
    constexpr int32_t kSmallestStep = 64;
    std::vector<ImageSize> sizes{wanted};
    ImageSize size = wanted;
    while (size.width - base.width > kSmallestStep || size.height - base.height > kSmallestStep) {
        size.width = base.width + larger(0, size.width - base.width) / 2;
        size.height = base.height + larger(0, size.height - base.height) / 2;
        sizes.push_back(size);
    }
    if (wanted.width != base.width || wanted.height != base.height) sizes.push_back(base);
    return sizes;
}

ImageSize settle_image_size(ImageSize current, ImageSize base, PixelExtent extent,
                            const std::function<bool(ImageSize)>& make) {
    const ImageSize wanted = image_size_holding(base, extent);
    if (wanted.width == current.width && wanted.height == current.height) return current;
    const bool shrinking = wanted.width <= current.width && wanted.height <= current.height;
    for (const ImageSize& size : image_size_fallbacks(wanted, base)) {
        // Growing: a size the current image already holds shows no more.
        if (!shrinking && size.width <= current.width && size.height <= current.height) break;
        if (make(size)) return size;
        // Shrinking only frees memory; if even that cannot be made, the
        // current image still holds the page.
        if (shrinking) break;
    }
    return current;
}

CopyPlan plan_copy(const CopyInput& in) {
    const double page_width = double(in.page_width) * in.resolution_x * in.zoom;
    const double page_height = double(in.page_height) * in.resolution_y * in.zoom;
    CopyPlan plan;
    plan.dest_width = round_half_even(page_width < in.area_width ? page_width : in.area_width);
    plan.dest_height =
        round_half_even(page_height < in.area_height ? page_height : in.area_height);
    if (plan.dest_width < 0) plan.dest_width = 0;
    if (plan.dest_height < 0) plan.dest_height = 0;

    int32_t x = 1;
    int32_t y = 1;
    if (in.horizontal_needed || in.vertical_needed) {
        const int32_t overflow_x = larger(0, round_half_even(page_width - in.area_width));
        const int32_t overflow_y = larger(0, round_half_even(page_height - in.area_height));
        x = round_half_even(overflow_x * in.horizontal_position / 100.0) + 1;
        y = round_half_even(overflow_y * in.vertical_position / 100.0) + 1;
    }

    plan.stretch = in.zoom < 1.0 && in.zoom > 0 && in.display_option == kDisplayShrink;
    if (plan.stretch) {
        // The image holds the page at 100 %: origin and size scale back up.
        plan.source_x = round_half_even(x / in.zoom);
        plan.source_y = round_half_even(y / in.zoom);
        plan.source_width = round_half_even(plan.dest_width / in.zoom);
        plan.source_height = round_half_even(plan.dest_height / in.zoom);
    } else {
        plan.source_x = x;
        plan.source_y = y;
        plan.source_width = plan.dest_width;
        plan.source_height = plan.dest_height;
    }
    return plan;
}

PageImageCounters& page_image_counters() {
    static PageImageCounters state;
    return state;
}

}  // namespace vell
