// The wheel's arithmetic, the page flips at the edges, zoom steps that never
// go the wrong way, keeping a point in place, and the key table.
#include <gtest/gtest.h>

#include "viewer/dpi.h"
#include "viewer/keys.h"
#include "viewer/wheel.h"

namespace vell {
namespace {

TEST(Wheel, PartialDeltasAddUpToWholeLines) {
    int64_t remainder = 0;
    // A high-resolution wheel: four parts of 30 make one notch of 3 lines,
    // each line as soon as its share has turned.
    EXPECT_EQ(take_wheel_steps(remainder, -30, 3, true).lines, 0);
    EXPECT_EQ(take_wheel_steps(remainder, -30, 3, true).lines, 1);
    EXPECT_EQ(take_wheel_steps(remainder, -30, 3, true).lines, 1);
    EXPECT_EQ(take_wheel_steps(remainder, -30, 3, true).lines, 1);
    EXPECT_EQ(remainder, 0);
    // Seven lines per notch: 120 units give exactly 7, whatever the parts.
    int total = 0;
    for (int i = 0; i < 12; ++i) total += take_wheel_steps(remainder, 10, 7, false).lines;
    EXPECT_EQ(total, 7);
}

TEST(Wheel, TurningBackDropsTheRemainderAndSettingsApply) {
    int64_t remainder = 0;
    take_wheel_steps(remainder, 100, 1, false);
    EXPECT_EQ(take_wheel_steps(remainder, -100, 1, false).lines, 0);
    EXPECT_EQ(take_wheel_steps(remainder, -20, 1, false).lines, -1);
    EXPECT_EQ(take_wheel_steps(remainder, 120, 0, false).lines, 0);
    const WheelSteps screens = take_wheel_steps(remainder, -240, kWheelPageScroll, true);
    EXPECT_EQ(screens.screens, 2);
    EXPECT_EQ(screens.lines, 0);
    int64_t zoom = 0;
    EXPECT_EQ(take_zoom_notches(zoom, 60), 0);
    EXPECT_EQ(take_zoom_notches(zoom, 60), 1);
}

TEST(Wheel, FlipsPagesOnlyAtTheEdges) {
    EXPECT_EQ(vertical_move(90, 9, true, 1, 12).position, 99);
    EXPECT_EQ(vertical_move(99, 9, true, 1, 12).position, 100);
    const VerticalMove next = vertical_move(100, 9, true, 1, 12);
    EXPECT_EQ(next.flip, PageFlip::kNext);
    EXPECT_EQ(next.position, 0);
    const VerticalMove previous = vertical_move(0, -3, true, 5, 12);
    EXPECT_EQ(previous.flip, PageFlip::kPrevious);
    EXPECT_EQ(previous.position, 100);
    // No vertical bar: every move flips; none past the first or last page.
    EXPECT_EQ(vertical_move(0, 3, false, 2, 12).flip, PageFlip::kNext);
    EXPECT_EQ(vertical_move(100, 15, true, 12, 12).flip, PageFlip::kNone);
    EXPECT_EQ(vertical_move(100, 15, true, 12, 12).position, 100);
    EXPECT_EQ(vertical_move(0, -15, false, 1, 12).flip, PageFlip::kNone);
}

TEST(Wheel, ZoomStepsStayWithinLimitsAndDirection) {
    EXPECT_EQ(zoom_step_percent(1.0, true), 120);
    EXPECT_EQ(zoom_step_percent(1.2, true), 125);
    EXPECT_EQ(zoom_step_percent(1.25, true), 125);
    EXPECT_EQ(zoom_step_percent(0.6, true), 70);  // just below 0.6 stored
    EXPECT_EQ(zoom_step_percent(0.25, false), 25);
    // From fit values beyond the limits: in never shrinks, out never grows.
    EXPECT_EQ(zoom_step_percent(1.8, true), 180);
    EXPECT_EQ(zoom_step_percent(1.8, false), 125);
    EXPECT_EQ(zoom_step_percent(0.2, false), 20);
    EXPECT_EQ(zoom_step_percent(0.2, true), 40);
}

TEST(Wheel, ZoomKeepsThePointUnderTheMouse) {
    KeepPointInput in;
    in.page_before = 1056;  // the page row 455 is in the middle of a 910-pixel area
    in.page_after = 1267;
    in.area_before = 910;
    in.area_after = 910;
    in.position_before = 0;
    in.scrolled_before = true;
    in.point_before = 455;
    in.point_after = 455;
    // 455 / 1056 of 1267 pixels is row 546; 91 of the 357 overflow above it.
    EXPECT_EQ(position_keeping_point(in), 25);
    in.page_after = 800;  // the page fits now
    EXPECT_EQ(position_keeping_point(in), 0);
    in.page_after = 2000;
    in.point_before = 910;  // the bottom edge stays at the bottom only at 100
    in.position_before = 100;
    EXPECT_EQ(position_keeping_point(in), 100);
}

TEST(Keys, ViewerKeysWhereverTheFocusIsButTheZoomEditKeepsItsOwn) {
    const KeyPress space{vk::kSpace};
    const KeyPress home{vk::kHome};
    const KeyPress ctrl_home{vk::kHome, true};
    EXPECT_EQ(key_action(space, KeyFocus::kViewer), KeyAction::kScreenDown);
    EXPECT_EQ(key_action(KeyPress{vk::kSpace, false, true}, KeyFocus::kViewer), KeyAction::kScreenUp);
    EXPECT_EQ(key_action(space, KeyFocus::kZoomEdit), KeyAction::kNone);
    EXPECT_EQ(key_action(home, KeyFocus::kZoomEdit), KeyAction::kNone);
    EXPECT_EQ(key_action(ctrl_home, KeyFocus::kZoomEdit), KeyAction::kNone);
    EXPECT_EQ(key_action(ctrl_home, KeyFocus::kViewer), KeyAction::kFirstPage);
    EXPECT_EQ(key_action(KeyPress{vk::kPageDown}, KeyFocus::kZoomEdit), KeyAction::kScreenDown);
    EXPECT_EQ(key_action(KeyPress{vk::kReturn}, KeyFocus::kZoomEdit), KeyAction::kApplyZoomBox);
    EXPECT_EQ(key_action(KeyPress{vk::kReturn}, KeyFocus::kViewer), KeyAction::kNone);
    EXPECT_EQ(key_action(KeyPress{vk::kLetterP, true}, KeyFocus::kZoomEdit), KeyAction::kPrint);
    EXPECT_EQ(key_action(KeyPress{vk::kLetterP}, KeyFocus::kViewer), KeyAction::kNone);
    EXPECT_EQ(key_action(KeyPress{vk::kOemPlus, true, true}, KeyFocus::kViewer), KeyAction::kZoomIn);
    EXPECT_EQ(key_action(KeyPress{vk::kSubtract, true}, KeyFocus::kViewer), KeyAction::kZoomOut);
    // Ctrl+C and Ctrl+A copy and select the page, but the zoom box's typed text there.
    EXPECT_EQ(key_action(KeyPress{vk::kLetterC, true}, KeyFocus::kViewer), KeyAction::kCopy);
    EXPECT_EQ(key_action(KeyPress{vk::kLetterA, true}, KeyFocus::kZoomEdit), KeyAction::kNone);
    EXPECT_EQ(key_action(KeyPress{vk::kLetterO, true}, KeyFocus::kZoomEdit), KeyAction::kOpen);
    // Alt belongs to the menu, an open list keeps every key.
    EXPECT_EQ(key_action(KeyPress{vk::kLetterP, true, false, true}, KeyFocus::kViewer),
              KeyAction::kNone);
    EXPECT_EQ(key_action(KeyPress{vk::kEscape}, KeyFocus::kDroppedList), KeyAction::kNone);
    EXPECT_EQ(key_action(KeyPress{vk::kEscape}, KeyFocus::kZoomEdit), KeyAction::kCancel);
    // The closed index box chooses with the arrows as a drop-down list does.
    EXPECT_EQ(key_action(KeyPress{vk::kDown}, KeyFocus::kIndexBox), KeyAction::kNone);
    EXPECT_EQ(key_action(KeyPress{vk::kPageDown}, KeyFocus::kIndexBox), KeyAction::kNone);
    EXPECT_EQ(key_action(space, KeyFocus::kIndexBox), KeyAction::kScreenDown);
    EXPECT_EQ(key_action(ctrl_home, KeyFocus::kIndexBox), KeyAction::kFirstPage);
}

TEST(Dpi, ToolbarImagesFollowTheScale) {
    EXPECT_EQ(toolbar_image_set(96).size, 20);
    EXPECT_EQ(toolbar_image_set(96).bitmap_id, 501);
    EXPECT_EQ(toolbar_image_set(120).size, 30);
    EXPECT_EQ(toolbar_image_set(144).bitmap_id, 502);
    EXPECT_EQ(toolbar_image_set(192).size, 40);
    EXPECT_EQ(scale_for_dpi(20, 144), 30);
    EXPECT_EQ(scale_for_dpi(20, 0), 20);
}

}  // namespace
}  // namespace vell
