#include "main/output_event.h"

namespace quillon {

namespace {

// Navigation keys sit on the extended part of the keyboard; without the flag
// the system would read them as the number pad's keys.
bool extendedKey(KeyCode code, std::uint32_t extendedScan) {
  const bool navigation = (code >= 33 && code <= 40) || code == 45 || code == 46;
  return navigation || (extendedScan >> 8) == 0xE0;
}

InputFields mouseFields(KeyCode code, bool down) {
  InputFields fields;
  fields.mouse = true;
  switch (code) {
    case 1:
      fields.flags = down ? leftDown : leftUp;
      break;
    case 2:
      fields.flags = down ? rightDown : rightUp;
      break;
    case 4:
      fields.flags = down ? middleDown : middleUp;
      break;
    default:
      fields.flags = down ? xDown : xUp;
      fields.mouseData = code == 5 ? 1 : 2;
      break;
  }
  return fields;
}

}  // namespace

InputFields inputFields(KeyCode code, bool down, ScanCodes scan) {
  if (isMouseButton(code)) return mouseFields(code, down);
  InputFields fields;
  fields.vk = static_cast<std::uint16_t>(code);
  fields.scan = static_cast<std::uint16_t>(scan.plain & 0xFF);
  if (extendedKey(code, scan.extended)) fields.flags |= keyExtended;
  if (!down) fields.flags |= keyUp;
  return fields;
}

}  // namespace quillon
