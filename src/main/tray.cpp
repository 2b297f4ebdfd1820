#include "main/tray.h"

#include <cwchar>

#include "main/about.h"
#include "main/autostart.h"
#include "main/handles.h"
#include "main/ids.h"
#include "main/settings_apply.h"
#include "main/settings_window.h"
#include "main/win_text.h"

namespace quillon {

NOTIFYICONDATAW tray{};
UINT taskbar = 0;

namespace {

static_assert(sizeof(NOTIFYICONDATAW) == 976, "the full Vista-and-later record");

constexpr UINT trayId = 1;
constexpr const wchar_t* donationPage = L"https://quillon.app/donate";

bool trayAdded = false;

void showMenu() {
  POINT cursor{};
  GetCursorPos(&cursor);
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  const UINT startupState = runValueExists() ? MF_CHECKED : MF_UNCHECKED;
  AppendMenuW(menu.get(), MF_STRING, settingsMenuId, uiText(TextId::menuSettings));
  AppendMenuW(menu.get(), MF_STRING | startupState, startupMenuId, uiText(TextId::menuStartup));
  AppendMenuW(menu.get(), MF_STRING, aboutMenuId, uiText(TextId::menuAbout));
  AppendMenuW(menu.get(), MF_STRING, donateMenuId, uiText(TextId::menuDonate));
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_STRING, exitMenuId, uiText(TextId::menuExit));
  // Without the window in front the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(window);
  const auto chosen = static_cast<WORD>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                       cursor.x, cursor.y, 0, window, nullptr));
  menu.reset();
  // The command runs after the menu has closed.
  if (chosen != 0) PostMessageW(window, WM_COMMAND, chosen, 0);
  PostMessageW(window, WM_NULL, 0, 0);
}

void exitProgram() {
  if (confirmDiscard()) DestroyWindow(window);
}

void openDonationPage() {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window, L"open", donationPage, nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) showError(window, uiText(TextId::linkError));
}

}  // namespace

bool addTray(HICON icon) {
  tray = {};
  tray.cbSize = sizeof(tray);
  tray.hWnd = window;
  tray.uID = trayId;
  tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray.uCallbackMessage = trayMsg;
  tray.hIcon = icon;
  wcsncpy(tray.szTip, uiText(TextId::trayTip), std::size(tray.szTip) - 1);
  taskbar = RegisterWindowMessageW(L"TaskbarCreated");
  trayAdded = Shell_NotifyIconW(NIM_ADD, &tray) != 0;
  return trayAdded;
}

void readdTray() {
  if (Shell_NotifyIconW(NIM_ADD, &tray)) trayAdded = true;
}

void deleteTray() {
  if (!trayAdded) return;
  Shell_NotifyIconW(NIM_DELETE, &tray);
  trayAdded = false;
}

void trayCallback(LPARAM lParam) {
  if (lParam == WM_LBUTTONUP) openEditor(window);
  if (lParam == WM_RBUTTONUP) showMenu();
}

bool trayCommand(WORD id) {
  switch (id) {
    case settingsMenuId:
      openEditor(window);
      return true;
    case exitMenuId:
      exitProgram();
      return true;
    case startupMenuId:
      startupToggleCommand();
      return true;
    case aboutMenuId:
      openAbout();
      return true;
    case donateMenuId:
      openDonationPage();
      return true;
  }
  return false;
}

}  // namespace quillon
