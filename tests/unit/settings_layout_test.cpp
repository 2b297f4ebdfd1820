#include <gtest/gtest.h>

#include <climits>

#include "main/settings_layout.h"

namespace quillon {
namespace {

// The client area of the 748 × 730 window with its frame.
constexpr int clientWidth = 732;
constexpr int clientHeight = 691;

TEST(PositionLists, TheDefaultClientArea) {
  const SettingsLayout l = positionLists(clientWidth, clientHeight, 120, false);
  // T = 244, M = 348.
  EXPECT_EQ(l.layerList, (Placement{12, 36, 260, 244}));
  EXPECT_EQ(l.rowList, (Placement{284, 36, 436, 244}));
  EXPECT_EQ(l.layerPicker, (Placement{12, 294, 164, 270}));
  EXPECT_EQ(l.layerRemove, (Placement{232, 294, 40, 30}));
  EXPECT_EQ(l.removeButton, (Placement{680, 294, 40, 30}));
  EXPECT_EQ(l.bindingFrame, (Frame{5, 338, 727, 513}));
  EXPECT_EQ(l.layerFrame, (Frame{5, 527, 727, 637}));
  EXPECT_EQ(l.sourceBox, (Placement{24, 388, 228, 270}));
  EXPECT_EQ(l.captureButtons[0], (Placement{256, 388, 92, 30}));
  EXPECT_EQ(l.targetBox, (Placement{384, 388, 228, 270}));
  EXPECT_EQ(l.captureButtons[1], (Placement{616, 388, 92, 30}));
  EXPECT_EQ(l.mouseLabels[0], (Placement{24, 555, 124, 24}));
  EXPECT_EQ(l.mouseTimeFrame, (Frame{156, 556, 220, 580}));
  EXPECT_EQ(l.mouseTime, (Placement{157, 557, 62, 22}));
  EXPECT_EQ(l.mouseGuard, (Placement{232, 551, 476, 38}));
  EXPECT_EQ(l.mouseOff, (Placement{454, 601, 254, 250}));
  EXPECT_EQ(l.editor, (Placement{12, 12, 708, 621}));
  EXPECT_EQ(l.holdCheck, (Placement{355, 570, 295, 42}));
  EXPECT_EQ(l.holdInputX, 656);
  EXPECT_EQ(l.numberRowTop, 576);
  EXPECT_EQ(l.saveButton, (Placement{488, 649, 112, 30}));
  EXPECT_EQ(l.closeButton, (Placement{608, 649, 112, 30}));
}

TEST(PositionLists, AdvancedLeavesRoomBesideTheEditor) {
  EXPECT_EQ(positionLists(clientWidth, clientHeight, 120, true).editor,
            (Placement{12, 12, 608, 621}));
}

TEST(PositionLists, ModifierGridIsCentredInFamiliesAtAnySize) {
  for (int width : {732, 733, 1000, 1917}) {
    const SettingsLayout l = positionLists(width, 800, 100, false);
    const int left = l.checks[0].x;
    const int right = l.checks[7].x + l.checks[7].width;
    EXPECT_LE(std::abs((left - 0) - (width - right)), 1) << width;
    // Columns: Shift, Ctrl, Alt, Win; rows: left, right, generic.
    for (int family = 0; family < 4; ++family) {
      EXPECT_EQ(l.checks[2 * family].x, left + 84 * family);
      EXPECT_EQ(l.checks[2 * family + 1].x, left + 84 * family);
      EXPECT_EQ(l.checks[8 + family].x, left + 84 * family);
      EXPECT_EQ(l.checks[2 * family].y, 800 - 256);
      EXPECT_EQ(l.checks[2 * family + 1].y, 800 - 233);
      EXPECT_EQ(l.checks[8 + family].y, 800 - 210);
    }
  }
}

TEST(PositionLists, KeyColumnsShareTheWidth) {
  for (int width : {732, 900, 1601}) {
    const SettingsLayout l = positionLists(width, 700, 100, false);
    EXPECT_EQ(l.sourceBox.width, l.targetBox.width);
    const int sourceEnd = l.captureButtons[0].x + l.captureButtons[0].width;
    const int targetEnd = l.captureButtons[1].x + l.captureButtons[1].width;
    EXPECT_EQ(sourceEnd - l.sourceBox.x, targetEnd - l.targetBox.x) << width;
    // The target column starts as far from the middle as the source column ends.
    EXPECT_LE(std::abs((l.targetBox.x - width / 2) - (width / 2 - sourceEnd)), 1) << width;
    EXPECT_EQ(width - targetEnd, 24 + width % 2) << width;
  }
}

TEST(PositionNumber, CentresInTheRow) {
  EXPECT_EQ(positionNumber(253, 576, 16, 1), (Placement{253, 578, 52, 20}));
  EXPECT_EQ(positionNumber(10, 0, 19, 1), (Placement{10, 0, 52, 23}));
}

TEST(WheelScroll, OneNotchScrollsTheLinesPerNotch) {
  WheelScroll wheel;
  EXPECT_EQ(wheel.rows(3, 10, 120), 3);
  EXPECT_EQ(wheel.rows(3, 10, -120), -3);
  EXPECT_EQ(wheel.remainder, 0);
}

TEST(WheelScroll, SmallDeltasAddUp) {
  WheelScroll one;
  EXPECT_EQ(one.rows(1, 10, 40), 0);
  EXPECT_EQ(one.rows(1, 10, 40), 0);
  EXPECT_EQ(one.rows(1, 10, 40), 1);
  WheelScroll three;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(three.rows(3, 10, 40), 1);
  WheelScroll down;
  EXPECT_EQ(down.rows(1, 10, -30), 0);
  EXPECT_EQ(down.rows(1, 10, -90), -1);
  EXPECT_EQ(down.rows(1, 10, 30), 0);
  EXPECT_EQ(down.remainder, 30);
}

TEST(WheelScroll, PageScrollingScrollsThePage) {
  WheelScroll wheel;
  EXPECT_EQ(wheel.rows(UINT_MAX, 7, 120), 7);
  EXPECT_EQ(wheel.rows(20, 7, -120), -7);
  EXPECT_EQ(wheel.rows(3, 0, 120), 1);
}

TEST(ScrolledTop, StaysInsideTheList) {
  EXPECT_EQ(scrolledTop(5, 3, 40, 10), 2);
  EXPECT_EQ(scrolledTop(2, 3, 40, 10), 0);
  EXPECT_EQ(scrolledTop(28, -3, 40, 10), 30);
  EXPECT_EQ(scrolledTop(0, -3, 5, 10), 0);
}

}  // namespace
}  // namespace quillon
