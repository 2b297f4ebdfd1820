#include "main/self_check.h"

#include <string>

#include "main/about.h"
#include "main/handles.h"
#include "main/ids.h"
#include "main/settings_ui.h"
#include "main/settings_window.h"
#include "main/tray.h"

namespace quillon {

namespace {

// The About box can be built from its template, with both link buttons.
bool aboutBuilds() {
  const UniqueWindow dialog(CreateDialogParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(aboutTemplate), window, aboutProc, 0));
  return dialog && GetDlgItem(dialog.get(), messengerButton) != nullptr &&
         GetDlgItem(dialog.get(), emailButton) != nullptr;
}

HICON windowIcon(WPARAM size) {
  return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, size, 0));
}

// The window shows the icons start-up loaded; the small one is the tray's.
bool iconsSet(HICON largeIcon) {
  return tray.hIcon != nullptr && windowIcon(ICON_SMALL) == tray.hIcon &&
         windowIcon(ICON_BIG) == largeIcon;
}

// One name of each kind: the fixed table, the F-key and the keypad forms.
bool namesBuilt() {
  return displayNames.names[0x23] == "End" && displayNames.names[0x7D] == "F14" &&
         displayNames.names[0x63] == "Num3";
}

// The mouse layer may be empty, and may come first in a profile written by
// hand: then there is no row to select or edit.
bool emptyMouseLayer() {
  return selectedLayer == mouseLayerKey && SendMessageW(controls.rowList, LB_GETCOUNT, 0, 0) == 0;
}

// The saved profile lists with the first layer and a row of it selected.
bool draftListed() {
  return loadDraft() && (selectedSource != noKey || emptyMouseLayer()) &&
         SendMessageW(controls.layerList, LB_GETCURSEL, 0, 0) == 0;
}

LRESULT topRow() {
  return SendMessageW(controls.rowList, LB_GETTOPINDEX, 0, 0);
}

void turnWheel(short delta) {
  for (int i = 0; i < 80; ++i)
    SendMessageW(controls.rowList, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
}

// Line and wheel scrolling move the rows' view and never the selection. Only
// a list longer than the view can scroll.
bool rowsScroll() {
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  const LRESULT selection = SendMessageW(controls.rowList, LB_GETCURSEL, 0, 0);
  const bool longList = SendMessageW(controls.rowList, LB_GETCOUNT, 0, 0) > 30;
  if (longList) {
    SendMessageW(controls.rowList, WM_VSCROLL, SB_LINEDOWN, 0);
    if (topRow() != 1) return false;
    SendMessageW(controls.rowList, WM_VSCROLL, SB_LINEUP, 0);
  }
  turnWheel(-30);
  if (lines != 0 && longList && topRow() <= 0) return false;
  turnWheel(30);
  return topRow() == 0 && SendMessageW(controls.rowList, LB_GETCURSEL, 0, 0) == selection;
}

// Typed timing goes into the draft and comes back from it. Only keyboard
// layers have a timing, and the mouse layer may be the one listed first.
bool timingApplies() {
  if (selectedLayer == mouseLayerKey) return true;
  SetWindowTextW(controls.delayInput, L"123");
  SendMessageW(controls.holdCheck, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(control::holdCheck, BN_CLICKED),
               reinterpret_cast<LPARAM>(controls.holdCheck));
  SetWindowTextW(controls.holdInput, L"777");
  if (!timingEdited || !applyTiming()) return false;
  timingEdited = 0;
  return reloadRows() && readTime(controls.delayInput, 0, 1000) == 123 &&
         readTime(controls.holdInput, 500, 5000) == 777 && IsWindowEnabled(controls.holdInput) &&
         SendMessageW(editor, EM_GETMODIFY, 0, 0) != 0;
}

// A modifier box changes the selected row and keeps it selected.
bool flagApplies() {
  if (emptyMouseLayer()) return true;
  const KeyCode source = selectedSource;
  if (selectedKey(controls.sourceBox) != source) return false;
  SendMessageW(controls.checks[3], BM_SETCHECK, BST_CHECKED, 0);
  changeRow(false);
  return selectedSource == source && (bindings[source].mask & (ModifierMask{1} << 3)) != 0;
}

// The mouse layer's timeout frame is painted, all along its top edge.
bool frameDrawn() {
  selectedLayer = mouseLayerKey;
  mode(0);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  bool drawn = true;
  {
    const WindowDC dc(window);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int x = mouseTimeFrame.left; x < mouseTimeFrame.right; ++x)
      if (GetPixel(dc.get(), x, mouseTimeFrame.top) != shadow) drawn = false;
  }
  ShowWindow(window, SW_HIDE);
  return drawn;
}

// Nothing is shown; a debugger still learns which step failed.
bool failed(const wchar_t* step) {
  OutputDebugStringW((std::wstring(L"Quillon self-check failed: ") + step).c_str());
  return false;
}

}  // namespace

bool selfCheck(HICON largeIcon) {
  if (!aboutBuilds()) return failed(L"About box");
  if (!iconsSet(largeIcon)) return failed(L"window icons");
  if (!namesBuilt()) return failed(L"display names");
  if (!draftListed()) return failed(L"listing");
  if (!rowsScroll()) return failed(L"row scrolling");
  if (!timingApplies()) return failed(L"layer timing");
  if (!flagApplies()) return failed(L"binding flags");
  if (!frameDrawn()) return failed(L"painting");
  // The draft was changed only to be checked: Exit asks nothing.
  SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  PostMessageW(window, WM_COMMAND, exitMenuId, 0);
  return true;
}

}  // namespace quillon
