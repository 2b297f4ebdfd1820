#pragma once
// How one output event becomes one INPUT record for SendInput. Pure, so the
// extended-key rule and the mouse-button flags are tested natively; the sender
// copies these fields into the real structure.

#include <cstdint>

#include "layers/keys.h"

namespace quillon {

// The Windows values these fields take; the sender checks them against
// <windows.h> at compile time.
inline constexpr std::uint32_t keyExtended = 0x0001;  // KEYEVENTF_EXTENDEDKEY
inline constexpr std::uint32_t keyUp = 0x0002;        // KEYEVENTF_KEYUP
inline constexpr std::uint32_t leftDown = 0x0002;     // MOUSEEVENTF_LEFTDOWN
inline constexpr std::uint32_t leftUp = 0x0004;
inline constexpr std::uint32_t rightDown = 0x0008;
inline constexpr std::uint32_t rightUp = 0x0010;
inline constexpr std::uint32_t middleDown = 0x0020;
inline constexpr std::uint32_t middleUp = 0x0040;
inline constexpr std::uint32_t xDown = 0x0080;
inline constexpr std::uint32_t xUp = 0x0100;

struct InputFields {
  bool mouse = false;           // INPUT_MOUSE, else INPUT_KEYBOARD
  std::uint32_t flags = 0;      // dwFlags of the mouse or keyboard part
  std::uint32_t mouseData = 0;  // the X button number
  std::uint16_t vk = 0;
  std::uint16_t scan = 0;
};

// The scan codes MapVirtualKeyW gives for a key: MAPVK_VK_TO_VSC and
// MAPVK_VK_TO_VSC_EX. Asked only for keyboard codes.
struct ScanCodes {
  std::uint32_t plain = 0;
  std::uint32_t extended = 0;
};

// The fields of the event that presses (down) or releases `code`. Codes 1, 2,
// 4, 5 and 6 are mouse buttons; every other code is a key.
InputFields inputFields(KeyCode code, bool down, ScanCodes scan);

}  // namespace quillon
