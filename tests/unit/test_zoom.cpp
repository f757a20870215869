// The zoom box, the fit values, the page area's layout, scrolling and click
// zoom.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "ui_text/labels.h"
#include "viewer/zoom.h"

namespace vell {
namespace {

const FitValues kFit{140, 60};  // fit width 140 %, fit window 60 %

// Status bar from status_top down, 22 high; toolbar bottom at 68; 17-pixel
// scroll bars. The page area gets (width - 24) by (status_top - 92) pixels.
ViewerFrame frame_of(int32_t width, int32_t status_top) {
    return ViewerFrame{{0, status_top, width, status_top + 22}, {0, 40, width, 68}, 17, 17};
}

std::string box_after_typing(const std::string& text) {
    return apply_zoom_text(text, kFit, "Fit Window", "Fit Width").box_text;
}

TEST(ZoomBox, TypedValuesAreClampedAndNormalised) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"150", "125%"}, {"10", "25%"},   {"zoom", "100%"}, {" 75", "75%"},  {"  150", "25%"},
        {"0", "100%"},   {"-40", "25%"},  {"99.9", "99%"},  {"110%", "110%"}, {"10000", "125%"},
    };
    for (const auto& c : cases) EXPECT_EQ(box_after_typing(c.first), c.second) << c.first;
}

TEST(ZoomBox, FitKeywordsInAnyLetterCase) {
    ZoomChoice choice = apply_zoom_text("fit window", kFit, "Fit Window", "Fit Width");
    EXPECT_EQ(choice.percent, 60);
    EXPECT_EQ(choice.box_text, "Fit Window");  // the label as stored
    choice = apply_zoom_text("  FIT WIDTH ", FitValues{233, 180}, "Fit Window", "Fit Width");
    EXPECT_EQ(choice.percent, 233);  // fit values are not limited to 25..125
    EXPECT_EQ(choice.box_text, "Fit Width");

    // A window label record renames label 11 after the box was filled: the
    // old entry is then read as a number.
    Document none;
    set_window_label(none, 11, "Whole Page");
    EXPECT_EQ(apply_zoom_text("Fit Window", kFit).box_text, "100%");
    EXPECT_EQ(apply_zoom_text("whole page", kFit).box_text, "Whole Page");
    set_window_label(none, 0, "");
}

TEST(FitValues, FromTheAvailableSpaceWithAFloorForTinyWindows) {
    // Letter at 96 pixels per inch in 1000 x 596 pixels.
    FitValues fit = fit_values(frame_of(1024, 700), PixelExtent{816, 1056});
    EXPECT_EQ(fit.fit_window, 56);  // 56.44
    // 37.5 gives 38, whose 608 pixels are more than 600 + 5: held to 37.
    EXPECT_EQ(fit_values(frame_of(624, 700), PixelExtent{1600, 400}).fit_width, 37);
    // Space of zero or less never gives a zoom of zero or less.
    for (int32_t width : {0, 24, 60}) {
        fit = fit_values(frame_of(width, 60), PixelExtent{816, 1056});
        EXPECT_EQ(fit.fit_width, kFitMinPercent) << width;
        EXPECT_EQ(fit.fit_window, kFitMinPercent) << width;
    }
}

// A tall page at fit width needs the vertical bar: the width is fitted
// beside it, so the page's right edge is not hidden under the bar.
TEST(FitValues, FitWidthLeavesRoomForTheVerticalBar) {
    const ViewerFrame frame = frame_of(1024, 700);
    const FitValues fit = fit_values(frame, PixelExtent{816, 1056});
    EXPECT_EQ(fit.fit_width, 120);  // 983 / 816, not 1000 / 816
    const PixelExtent page{round_half_even(816 * 1.2), round_half_even(1056 * 1.2)};
    const PageAreaLayout area = fit_page_area(frame, page);
    EXPECT_TRUE(area.vertical_bar && !area.horizontal_bar);
    EXPECT_EQ(area.width, page.width);
    // Fit window shows the whole page, no bar at all.
    const PixelExtent whole{round_half_even(816 * fit.fit_window / 100.0),
                            round_half_even(1056 * fit.fit_window / 100.0)};
    const PageAreaLayout window_area = fit_page_area(frame, whole);
    EXPECT_FALSE(window_area.vertical_bar || window_area.horizontal_bar);
}

TEST(PageArea, FivePixelRuleBarsAndCentring) {
    const ViewerFrame frame = frame_of(1024, 700);  // 1000 x 608 for the page
    PageAreaLayout area = fit_page_area(frame, PixelExtent{612, 500});
    EXPECT_FALSE(area.horizontal_bar || area.vertical_bar);
    EXPECT_EQ(area.x, 12 + 194);
    EXPECT_EQ(area.width, 612);
    // Up to 5 pixels too big: no bar, the area grows into the margin.
    area = fit_page_area(frame, PixelExtent{1005, 613});
    EXPECT_FALSE(area.horizontal_bar || area.vertical_bar);
    EXPECT_EQ(area.height, 613);
    // One pixel taller: a vertical bar beside a page that still fits the
    // width left, and the area moves left by half of it: nearest(10 - 8.5).
    area = fit_page_area(frame, PixelExtent{980, 614});
    EXPECT_TRUE(area.vertical_bar && !area.horizontal_bar);
    EXPECT_EQ(area.width, 980);
    EXPECT_EQ(area.height, 608);
    EXPECT_EQ(area.x, 12 + 2);
    const ScrollBarLayout bars = place_scroll_bars(area, 980, 600, frame);
    EXPECT_TRUE(bars.vertical.shown && !bars.horizontal.shown);
    EXPECT_EQ(bars.vertical.x, area.x + 980);
    EXPECT_EQ(bars.vertical.height, 600);
    // A page that fits the width only without the vertical bar gets the
    // horizontal bar as well, so its right edge can be scrolled to.
    area = fit_page_area(frame, PixelExtent{1005, 614});
    EXPECT_TRUE(area.vertical_bar && area.horizontal_bar);
    EXPECT_EQ(area.width, 983);
    EXPECT_EQ(area.height, 591);
    // One pixel wider: a horizontal bar below a page that still fits the
    // height left; the area keeps the page's whole height.
    area = fit_page_area(frame, PixelExtent{1006, 500});
    EXPECT_TRUE(area.horizontal_bar && !area.vertical_bar);
    EXPECT_EQ(area.height, 500);
    // A window smaller than its margins: an empty area, not a negative one.
    area = fit_page_area(frame_of(10, 50), PixelExtent{816, 1056});
    EXPECT_EQ(area.width, 0);
    EXPECT_EQ(area.height, 0);
}

TEST(Scrolling, StepsAndClamping) {
    EXPECT_EQ(scroll_position_after(0, 50, 0), 47);
    EXPECT_EQ(scroll_position_after(1, 50, 0), 53);
    EXPECT_EQ(scroll_position_after(2, 50, 0), 35);
    EXPECT_EQ(scroll_position_after(3, 50, 0), 65);
    EXPECT_EQ(scroll_position_after(5, 50, 80), 80);
    EXPECT_EQ(scroll_position_after(8, 50, 80), 50);  // end scroll: unchanged
    EXPECT_EQ(scroll_position_after(0, 2, 0), 0);
    EXPECT_EQ(scroll_position_after(3, 90, 0), 100);
    EXPECT_EQ(scroll_position_after(5, 50, 65535), 100);
}

// Percentages after a row of clicks, each applied as the box text is.
std::vector<int> clicks_from(int percent, bool zoom_in, int count) {
    std::vector<int> seen;
    for (int i = 0; i < count; ++i) {
        percent = typed_zoom_percent(std::to_string(click_zoom_percent(percent / 100.0, zoom_in)));
        seen.push_back(percent);
    }
    return seen;
}

TEST(ClickZoom, StepsComputedOnTheStoredFactor) {
    EXPECT_EQ(click_zoom_percent(0.60, true), 70);  // 0.6 lies just below 0.6
    EXPECT_EQ(click_zoom_percent(0.70, true), 80);
    EXPECT_EQ(click_zoom_percent(0.75, true), 90);
    EXPECT_EQ(click_zoom_percent(1.15, false), 90);
    EXPECT_EQ(click_zoom_percent(0.85, false), 60);
    EXPECT_EQ(clicks_from(100, true, 3), (std::vector<int>{120, 125, 125}));
    EXPECT_EQ(clicks_from(100, false, 5), (std::vector<int>{80, 60, 40, 25, 25}));
}

// Zoom in never shrinks the page, zoom out never enlarges it: from a fit
// value beyond 25..125 the click that would cross back changes nothing.
TEST(ClickZoom, NeverAgainstTheClicksWord) {
    EXPECT_EQ(click_zoom_step(1.54, true), 0);   // 170 would be held to 125
    EXPECT_EQ(click_zoom_step(0.22, false), 0);  // 0 would read as 100
    EXPECT_EQ(click_zoom_step(1.54, false), 125);
    EXPECT_EQ(click_zoom_step(0.22, true), 40);
    EXPECT_EQ(click_zoom_step(1.25, true), 125);  // stays
    EXPECT_EQ(click_zoom_step(0.25, false), 25);
    EXPECT_EQ(click_zoom_step(0.60, true), 70);
}

TEST(ClickZoom, HitTestAndReaimedScrollBars) {
    // Page area at client 17..417 across, 30..530 down.
    const ScreenRect area{17, 30, 417, 530};
    EXPECT_TRUE(hits_page_area(area, 17, 30));
    EXPECT_TRUE(hits_page_area(area, 416, 529));
    EXPECT_FALSE(hits_page_area(area, 16, 300));
    EXPECT_FALSE(hits_page_area(area, 200, 530));

    // Letter at 125 % in 1000 x 600.
    ReaimInput in{PixelExtent{1020, 1320}, true, true, 50, 0, 1000, 600, 300, 400};
    ScrollPositions p = reaim_scroll_positions(in);
    EXPECT_EQ(p.horizontal, 30);  // (10 + 300) * 100 / 1020
    EXPECT_EQ(p.vertical, 30);    // 400 * 100 / 1320
    in.horizontal_shown = false;
    in.vertical_position = 100;
    in.y = 1000;
    p = reaim_scroll_positions(in);
    EXPECT_EQ(p.horizontal, 0);   // hidden bar
    EXPECT_EQ(p.vertical, 100);   // 130 held to 100
}

}  // namespace
}  // namespace vell
