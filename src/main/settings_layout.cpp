#include "main/settings_layout.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int wheelDelta = 120;

// Bits 0..7 pair up as L/R of Shift, Ctrl, Alt and Win in the first two rows;
// the generic ones (8..11) make the third row, so each column is one family.
Placement checkBox(int bit, int width, int height) {
  const int column = bit < 8 ? bit / 2 : bit - 8;
  const int row = bit < 8 ? bit % 2 : 2;
  return {(width - 336) / 2 + 84 * column, height - 256 + 23 * row, 84, 22};
}

}  // namespace

SettingsLayout positionLists(int w, int h, int x, bool advanced) {
  const int t = w / 3;
  const int m = (w - 36) / 2;
  SettingsLayout l;
  l.headings[0] = {12, 12, t + 20, 20};
  l.headings[1] = {t + 40, 12, w - t - 52, 20};
  l.languageRu = {w - 100, 12, 44, 22};
  l.languageEn = {w - 52, 12, 44, 22};
  l.layerList = {12, 36, t + 16, h - 447};
  l.rowList = {t + 40, 36, w - t - 52, h - 447};
  l.layerPicker = {12, h - 397, t - 80, 270};
  l.layerAdd = {t - 60, h - 397, 40, 30};
  l.layerRemove = {t - 12, h - 397, 40, 30};
  l.newButton = {w - 100, h - 397, 40, 30};
  l.removeButton = {w - 52, h - 397, 40, 30};
  l.bindingFrame = {5, h - 353, w - 5, h - 178};
  l.layerFrame = {5, h - 164, w - 5, h - 54};
  l.headings[2] = {24, h - 325, m - 24, 20};
  l.sourceBox = {24, h - 303, m - 120, 270};
  l.captureButtons[0] = {m - 92, h - 303, 92, 30};
  l.headings[3] = {m + 36, h - 325, m - 24, 20};
  l.targetBox = {m + 36, h - 303, m - 120, 270};
  l.captureButtons[1] = {2 * m - 80, h - 303, 92, 30};
  for (int bit = 0; bit < 12; ++bit) l.checks[bit] = checkBox(bit, w, h);
  l.mouseLabels[0] = {24, h - 136, x + 4, 24};
  l.mouseTimeFrame = {x + 36, h - 135, x + 100, h - 111};
  l.mouseTime = {x + 37, h - 134, 62, 22};
  l.mouseGuard = {x + 112, h - 140, w - x - 136, 38};
  l.mouseLabels[1] = {24, h - 90, 76, 22};
  l.mouseOn = {102, h - 90, m - 96, 250};
  l.mouseLabels[2] = {m + 20, h - 90, 84, 22};
  l.mouseOff = {m + 106, h - 90, w - m - 130, 250};
  l.editor = {12, 12, advanced ? w - 124 : w - 24, h - 70};
  l.delayLabel = {24, h - 121, 225, 42};
  l.delayInputX = 253;
  l.holdCheck = {w - 377, h - 121, 295, 42};
  l.holdInputX = w - 76;
  l.numberRowTop = h - 115;
  l.saveButton = {w - 244, h - 42, 112, 30};
  l.closeButton = {w - 124, h - 42, 112, 30};
  return l;
}

Placement positionNumber(int x, int rowTop, int fontHeight, int borderHeight) {
  const int height = fontHeight + 2 * borderHeight + 2;
  return {x, rowTop + (24 - height) / 2, 52, height};
}

int WheelScroll::rows(unsigned linesPerNotch, int visibleRows, int delta) {
  // Compared unsigned, so "one page per notch" (the largest value) scrolls a page.
  const unsigned visible = static_cast<unsigned>(std::max(visibleRows, 1));
  const int step = static_cast<int>(std::min(linesPerNotch, visible));
  remainder += step * delta;
  const int whole = remainder / wheelDelta;
  remainder %= wheelDelta;
  return whole;
}

int scrolledTop(int top, int rows, int count, int visibleRows) {
  return std::max(std::min(top - rows, count - visibleRows), 0);
}

}  // namespace quillon
