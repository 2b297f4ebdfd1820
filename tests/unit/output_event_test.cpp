#include "main/output_event.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

struct Case {
  const char* what;
  KeyCode code;
  bool down;
  ScanCodes scan;
  InputFields expected;
};

bool operator==(const InputFields& a, const InputFields& b) {
  return a.mouse == b.mouse && a.flags == b.flags && a.mouseData == b.mouseData && a.vk == b.vk &&
         a.scan == b.scan;
}

TEST(OutputEvent, KeysAndButtonsBecomeTheRightInputRecords) {
  const Case cases[] = {
      {"letter down", 'H', true, {0x23, 0x23}, {false, 0, 0, 'H', 0x23}},
      {"letter up", 'H', false, {0x23, 0x23}, {false, keyUp, 0, 'H', 0x23}},
      {"digit", '1', true, {0x02, 0x02}, {false, 0, 0, '1', 0x02}},
      // Navigation keys are extended even where the scan table does not say so.
      {"PageUp", 33, true, {0x49, 0x49}, {false, keyExtended, 0, 33, 0x49}},
      {"Down up", 40, false, {0x50, 0x50}, {false, keyExtended | keyUp, 0, 40, 0x50}},
      {"Insert", 45, true, {0x52, 0x52}, {false, keyExtended, 0, 45, 0x52}},
      {"Delete", 46, true, {0x53, 0x53}, {false, keyExtended, 0, 46, 0x53}},
      {"Backspace", 8, true, {0x0E, 0x0E}, {false, 0, 0, 8, 0x0E}},
      // Other keys are extended when their extended scan code starts with 0xE0.
      {"right Ctrl", 0xA3, true, {0x1D, 0xE01D}, {false, keyExtended, 0, 0xA3, 0x1D}},
      {"left Ctrl", 0xA2, true, {0x1D, 0x1D}, {false, 0, 0, 0xA2, 0x1D}},
      {"scan code keeps its low byte", 0x91, true, {0x146, 0x46}, {false, 0, 0, 0x91, 0x46}},
      {"left button down", 1, true, {}, {true, leftDown, 0, 0, 0}},
      {"left button up", 1, false, {}, {true, leftUp, 0, 0, 0}},
      {"right button", 2, true, {}, {true, rightDown, 0, 0, 0}},
      {"middle button up", 4, false, {}, {true, middleUp, 0, 0, 0}},
      {"X button 1", 5, true, {}, {true, xDown, 1, 0, 0}},
      {"X button 2 down", 6, true, {}, {true, xDown, 2, 0, 0}},
      {"X button 2 up", 6, false, {}, {true, xUp, 2, 0, 0}},
      // 3 is Cancel, a key, although it sits among the button codes.
      {"Cancel", 3, true, {0x46, 0xE046}, {false, keyExtended, 0, 3, 0x46}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(inputFields(c.code, c.down, c.scan) == c.expected) << c.what;
  }
}

}  // namespace
}  // namespace quillon
