// The settings window itself: its controls in creation (and tab) order, their
// placement, the painted frames, the owner-drawn buttons, the row list's
// wheel, and the dispatch of the window's messages to the listing and editing.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "layers/keys.h"
#include "localization/language.h"
#include "main/handles.h"
#include "main/ids.h"
#include "main/input_hook.h"
#include "main/settings_ui.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

SettingsControls controls;
KeyNames displayNames;
Frame bindingFrame, layerFrame, mouseTimeFrame;

namespace {

using UniqueFont = Unique<HFONT, &DeleteObject>;

UniqueFont settingsFont;
WheelScroll rowWheel;

constexpr COLORREF plusColour = RGB(28, 128, 58);
constexpr COLORREF minusColour = RGB(160, 48, 48);
// The closed height of a key box: that of the buttons beside it.
constexpr int comboHeight = 30;
constexpr int rowTabStop = 78;

HFONT font() {
  return settingsFont ? settingsFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND child(HWND parent, const wchar_t* windowClass, int id, DWORD style, const wchar_t* caption) {
  HWND created = CreateWindowExW(0, windowClass, caption, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (created != nullptr) SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font()), 0);
  return created;
}

constexpr DWORD numberStyle = WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_CENTER;
constexpr DWORD listStyle = WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
constexpr DWORD comboStyle = WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD drawnStyle = BS_OWNERDRAW | WS_TABSTOP;

// The closed box as tall as the buttons beside it, whatever the font gives.
void setComboHeight(HWND box) {
  MoveWindow(box, 0, 0, 120, 250, FALSE);
  RECT outer;
  GetWindowRect(box, &outer);
  const auto field = static_cast<int>(SendMessageW(box, CB_GETITEMHEIGHT, -1, 0));
  SendMessageW(box, CB_SETITEMHEIGHT, -1, field + comboHeight - (outer.bottom - outer.top));
}

std::optional<std::string> systemKeyName(int code) {
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(code), MAPVK_VK_TO_VSC_EX);
  if (scan == 0) return std::nullopt;
  LONG param = static_cast<LONG>((scan & 0xFF) << 16);
  if ((scan >> 8) == 0xE0) param |= 0x01000000;
  wchar_t name[65];
  if (GetKeyNameTextW(param, name, 65) == 0) return std::nullopt;
  return narrow(name);
}

void createControls(HWND hwnd) {
  SettingsControls& c = controls;
  c.delayLabel = child(hwnd, L"STATIC", 0, 0, uiText(TextId::delayLabel));
  c.delayInput = child(hwnd, L"EDIT", control::delayInput, numberStyle, L"0");
  c.holdCheck =
      child(hwnd, L"BUTTON", control::holdCheck,
            BS_AUTOCHECKBOX | BS_LEFT | BS_MULTILINE | WS_TABSTOP, uiText(TextId::holdCheck));
  c.holdInput = child(hwnd, L"EDIT", control::holdInput, numberStyle, L"2000");
  const TextId headings[] = {TextId::layerKeysHeading, TextId::bindingsHeading,
                             TextId::sourceHeading, TextId::targetHeading};
  for (std::size_t i = 0; i < c.headings.size(); ++i)
    c.headings[i] = child(hwnd, L"STATIC", 0, 0, uiText(headings[i]));
  c.layerList = child(hwnd, L"LISTBOX", control::layerList, listStyle, L"");
  c.rowList = child(hwnd, L"LISTBOX", control::rowList, listStyle | LBS_USETABSTOPS, L"");
  c.sourceBox = child(hwnd, L"COMBOBOX", control::sourceBox, comboStyle, L"");
  c.targetBox = child(hwnd, L"COMBOBOX", control::targetBox, comboStyle, L"");
  c.layerPicker = child(hwnd, L"COMBOBOX", 0, comboStyle, L"");
  c.layerAdd = child(hwnd, L"BUTTON", control::addLayer, drawnStyle, uiText(TextId::layerAdd));
  c.layerRemove =
      child(hwnd, L"BUTTON", control::removeLayer, drawnStyle, uiText(TextId::layerRemove));
  c.mouseTime =
      child(hwnd, L"EDIT", control::mouseTime, WS_TABSTOP | ES_NUMBER | ES_CENTER, L"650");
  c.mouseGuard = child(hwnd, L"BUTTON", control::mouseGuard,
                       BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, uiText(TextId::mouseGuard));
  c.mouseOn = child(hwnd, L"COMBOBOX", control::mouseOn, comboStyle, L"");
  c.mouseOff = child(hwnd, L"COMBOBOX", control::mouseOff, comboStyle, L"");
  const TextId mouseLabels[] = {TextId::mouseTimeoutLabel, TextId::mouseEnableLabel,
                                TextId::mouseDisableLabel};
  for (std::size_t i = 0; i < c.mouseLabels.size(); ++i)
    c.mouseLabels[i] = child(hwnd, L"STATIC", 0, SS_CENTERIMAGE, uiText(mouseLabels[i]));
  c.captureButtons[0] =
      child(hwnd, L"BUTTON", control::captureSource, drawnStyle, uiText(TextId::setKey));
  c.captureButtons[1] =
      child(hwnd, L"BUTTON", control::captureTarget, drawnStyle, uiText(TextId::setKey));
  for (std::size_t bit = 0; bit < c.checks.size(); ++bit)
    c.checks[bit] = child(hwnd, L"BUTTON", control::firstCheck + static_cast<int>(bit),
                          BS_AUTOCHECKBOX | WS_TABSTOP, wide(modLabels[bit]).c_str());
  c.newButton = child(hwnd, L"BUTTON", control::newRow, drawnStyle, uiText(TextId::newBinding));
  c.removeButton =
      child(hwnd, L"BUTTON", control::removeRow, drawnStyle, uiText(TextId::removeBinding));
  c.languageRu = child(hwnd, L"BUTTON", control::languageRu,
                       BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_GROUP | WS_TABSTOP, L"RU");
  c.languageEn = child(hwnd, L"BUTTON", control::languageEn,
                       BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_TABSTOP, L"EN");
  editor = child(
      hwnd, L"EDIT", 0,
      WS_VSCROLL | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, L"");
  c.saveButton = child(hwnd, L"BUTTON", control::save, WS_TABSTOP, uiText(TextId::save));
  c.closeButton = child(hwnd, L"BUTTON", control::close, WS_TABSTOP, uiText(TextId::close));
}

// The initial state of the controls that is not their creation text.
void prepareControls() {
  SettingsControls& c = controls;
  SendMessageW(c.delayInput, EM_SETLIMITTEXT, 4, 0);
  SendMessageW(c.holdInput, EM_SETLIMITTEXT, 4, 0);
  SendMessageW(editor, EM_SETLIMITTEXT, 1 << 20, 0);
  SendMessageW(qlnUiLanguage() == english ? c.languageEn : c.languageRu, BM_SETCHECK, BST_CHECKED,
               0);
  int tabStop = rowTabStop;
  SendMessageW(c.rowList, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
  SetWindowSubclass(c.rowList, rowsProc, rowsSubclass, 0);
  for (HWND box : {c.sourceBox, c.targetBox, c.layerPicker, c.mouseOn, c.mouseOff})
    setComboHeight(box);
  loadingTiming = 1;
  SetWindowTextW(c.holdInput, L"500");
  SendMessageW(c.holdCheck, BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(c.holdInput, FALSE);
  loadingTiming = 0;
}

LRESULT onCreate(HWND hwnd) {
  window = hwnd;
  settingsFont.reset(CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
  createControls(hwnd);
  const SettingsControls& c = controls;
  for (HWND needed : {c.delayInput, c.holdInput, editor, c.saveButton, c.closeButton})
    if (needed == nullptr) return -1;
  prepareControls();
  buildDisplayNames();
  fillKeyCombos();
  return 0;
}

void move(HWND control, const Placement& place) {
  MoveWindow(control, place.x, place.y, place.width, place.height, FALSE);
}

// The pixel width of a label's text in its font.
int labelWidth(HWND label) {
  wchar_t caption[64] = {};
  const int length = GetWindowTextW(label, caption, 64);
  const WindowDC dc(label);
  const HGDIOBJ old = SelectObject(dc.get(), font());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), caption, length, &size);
  SelectObject(dc.get(), old);
  return size.cx;
}

int fontHeight(HWND input) {
  const WindowDC dc(input);
  const HGDIOBJ old = SelectObject(dc.get(), font());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  SelectObject(dc.get(), old);
  return metrics.tmHeight;
}

void moveNumber(HWND input, int x, int rowTop) {
  move(input, positionNumber(x, rowTop, fontHeight(input), GetSystemMetrics(SM_CYBORDER)));
}

void drawSection(HDC dc, Frame frame, const wchar_t* title) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int titleTop = frame.top;
  const RECT edge{frame.left, frame.top + metrics.tmHeight / 2, frame.right, frame.bottom};
  FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
  // Written opaque over the top edge, so the caption interrupts the frame.
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkMode(dc, OPAQUE);
  TextOutW(dc, frame.left + 8, titleTop, title, lstrlenW(title));
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  if (!advanced) {
    const HGDIOBJ old = SelectObject(dc, font());
    drawSection(dc, bindingFrame, uiText(TextId::mappingsFrame));
    drawSection(dc, layerFrame, uiText(TextId::layerFrame));
    SelectObject(dc, old);
    if (selectedLayer == mouseLayerKey) {
      const RECT frame{mouseTimeFrame.left, mouseTimeFrame.top, mouseTimeFrame.right,
                       mouseTimeFrame.bottom};
      FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
    }
  }
  EndPaint(hwnd, &ps);
}

void fill(HDC dc, int left, int top, int right, int bottom) {
  const RECT area{left, top, right, bottom};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A small keyboard: outline, three keys and the space bar.
void drawKeyboard(HDC dc, int cx, int cy, bool disabled) {
  HBRUSH brush = GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  const RECT outline{cx - 11, cy - 7, cx + 12, cy + 8};
  FrameRect(dc, &outline, brush);
  for (int left : {cx - 6, cx - 1, cx + 4}) {
    const RECT keyCap{left, cy - 3, left + 3, cy};
    FillRect(dc, &keyCap, brush);
  }
  const RECT spaceBar{cx - 6, cy + 2, cx + 7, cy + 4};
  FillRect(dc, &spaceBar, brush);
}

void drawButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int cx = (area.left + area.right) / 2 + (pressed ? 1 : 0);
  const int cy = (area.top + area.bottom) / 2 + (pressed ? 1 : 0);
  const UINT id = item.CtlID;
  if (id == control::captureSource || id == control::captureTarget) {
    const int field = id == control::captureSource ? 1 : 2;
    if (captureField == field) {
      const HGDIOBJ old = SelectObject(dc, font());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      RECT textArea = area;
      OffsetRect(&textArea, pressed ? 1 : 0, pressed ? 1 : 0);
      DrawTextW(dc, uiText(TextId::pressKey), -1, &textArea,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      SelectObject(dc, old);
    } else {
      drawKeyboard(dc, cx, cy, disabled);
    }
  } else {
    const bool plus = id == control::newRow || id == control::addLayer;
    SetDCBrushColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : plus ? plusColour : minusColour);
    fill(dc, cx - 7, cy - 2, cx + 7, cy + 2);
    if (plus) fill(dc, cx - 2, cy - 7, cx + 2, cy + 7);
  }
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&area, -3, -3);
    DrawFocusRect(dc, &area);
  }
}

bool drawnButton(UINT id) {
  return id >= control::captureSource && id <= control::removeLayer;
}

void wheel(HWND list, WPARAM wParam) {
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  RECT client;
  GetClientRect(list, &client);
  const auto itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const int visible = itemHeight > 0 ? std::max(1, int(client.bottom) / itemHeight) : 1;
  const int rows = rowWheel.rows(lines, visible, GET_WHEEL_DELTA_WPARAM(wParam));
  if (rows == 0) return;
  const auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  const int newTop = scrolledTop(top, rows, count, visible);
  if (newTop != top) SendMessageW(list, LB_SETTOPINDEX, newTop, 0);
}

LRESULT rowsMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEWHEEL:
      if (GET_KEYSTATE_WPARAM(wParam) & (MK_SHIFT | MK_CONTROL)) break;
      wheel(list, wParam);
      return 0;
    case LB_RESETCONTENT:
      rowWheel.remainder = 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, rowsProc, rowsSubclass);
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK rowsProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
  try {
    return rowsMessage(list, message, wParam, lParam);
  } catch (const std::exception&) {
    return DefSubclassProc(list, message, wParam, lParam);
  }
}

void buildDisplayNames() {
  keyNames(displayNames, [](int code) { return systemKeyName(code); });
}

void positionLists(int width, int height) {
  const SettingsControls& c = controls;
  const SettingsLayout l = positionLists(width, height, labelWidth(c.mouseLabels[0]), advanced);
  for (std::size_t i = 0; i < c.headings.size(); ++i) move(c.headings[i], l.headings[i]);
  move(c.languageRu, l.languageRu);
  move(c.languageEn, l.languageEn);
  move(c.layerList, l.layerList);
  move(c.rowList, l.rowList);
  move(c.layerPicker, l.layerPicker);
  move(c.layerAdd, l.layerAdd);
  move(c.layerRemove, l.layerRemove);
  move(c.newButton, l.newButton);
  move(c.removeButton, l.removeButton);
  bindingFrame = l.bindingFrame;
  layerFrame = l.layerFrame;
  mouseTimeFrame = l.mouseTimeFrame;
  move(c.sourceBox, l.sourceBox);
  move(c.targetBox, l.targetBox);
  for (std::size_t i = 0; i < c.captureButtons.size(); ++i)
    move(c.captureButtons[i], l.captureButtons[i]);
  for (std::size_t bit = 0; bit < c.checks.size(); ++bit) move(c.checks[bit], l.checks[bit]);
  for (std::size_t i = 0; i < c.mouseLabels.size(); ++i) move(c.mouseLabels[i], l.mouseLabels[i]);
  move(c.mouseTime, l.mouseTime);
  move(c.mouseGuard, l.mouseGuard);
  move(c.mouseOn, l.mouseOn);
  move(c.mouseOff, l.mouseOff);
  move(editor, l.editor);
  move(c.delayLabel, l.delayLabel);
  moveNumber(c.delayInput, l.delayInputX, l.numberRowTop);
  move(c.holdCheck, l.holdCheck);
  moveNumber(c.holdInput, l.holdInputX, l.numberRowTop);
  move(c.saveButton, l.saveButton);
  move(c.closeButton, l.closeButton);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

bool settingsMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_CREATE:
      result = onCreate(hwnd);
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) positionLists(LOWORD(lParam), HIWORD(lParam));
      return true;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimumWidth, minimumHeight};
      return true;
    case WM_PAINT:
      paint(hwnd);
      return true;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!drawnButton(item.CtlID)) return false;
      drawButton(item);
      result = TRUE;
      return true;
    }
    case WM_ACTIVATE:
      // Capture is for this window only; leaving it ends the capture.
      if (LOWORD(wParam) == WA_INACTIVE) cancelCapture();
      return false;
    case keyCapturedMsg:
      keyCaptured(wParam, lParam);
      return true;
    case WM_COMMAND:
      return settingsCommand(LOWORD(wParam), HIWORD(wParam));
  }
  return false;
}

}  // namespace quillon
