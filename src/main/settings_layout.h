#pragma once
// Where the settings window's controls go for a client size, and the row
// list's wheel arithmetic. No Windows headers, so the geometry is tested
// natively.

#include <array>

namespace quillon {

// A control's place as MoveWindow takes it.
struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool operator==(const Placement&) const = default;
};

// A painted frame.
struct Frame {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const Frame&) const = default;
};

// Smallest outer size of the window.
inline constexpr int minimumWidth = 748;
inline constexpr int minimumHeight = 620;

struct SettingsLayout {
  std::array<Placement, 4> headings;
  Placement languageRu, languageEn;
  Placement layerList, rowList;
  Placement layerPicker, layerAdd, layerRemove, newButton, removeButton;
  Frame bindingFrame, layerFrame, mouseTimeFrame;
  Placement sourceBox, targetBox;
  std::array<Placement, 2> captureButtons;
  // Indexed by modifier bit.
  std::array<Placement, 12> checks;
  std::array<Placement, 3> mouseLabels;
  Placement mouseTime, mouseGuard, mouseOn, mouseOff;
  Placement editor;
  Placement delayLabel, holdCheck;
  // The number inputs are placed by positionNumber from these.
  int delayInputX = 0, holdInputX = 0, numberRowTop = 0;
  Placement saveButton, closeButton;
};

// The layout for a client area of width × height; `timeoutLabelWidth` is the
// pixel width of the mouse-timeout label's text.
SettingsLayout positionLists(int width, int height, int timeoutLabelWidth, bool advanced);

// A number input vertically centred in a 24-pixel row.
Placement positionNumber(int x, int rowTop, int fontHeight, int borderHeight);

// The row list's wheel: a delta too small for one row is kept for the next.
struct WheelScroll {
  int remainder = 0;

  // Rows to scroll up (negative: down) for one WM_MOUSEWHEEL delta.
  int rows(unsigned linesPerNotch, int visibleRows, int delta);
};

// The top index after scrolling `rows` up, kept within the list.
int scrolledTop(int top, int rows, int count, int visibleRows);

}  // namespace quillon
