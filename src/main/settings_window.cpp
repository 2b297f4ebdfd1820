#include "main/settings_window.h"

#include <exception>

#include "main/hook_keeper.h"
#include "main/ids.h"
#include "main/input_hook.h"
#include "main/settings_apply.h"
#include "main/settings_ui.h"
#include "main/startup.h"
#include "main/tray.h"
#include "main/win_text.h"

namespace quillon {

HWND window = nullptr;
HWND editor = nullptr;

namespace {

LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // The registered messages have no fixed value, so they are compared first.
  if (taskbar != 0 && message == taskbar) {
    readdTray();
    return 0;
  }
  if (reopen != 0 && message == reopen) {
    openEditor(hwnd);
    return 0;
  }
  if (LRESULT result = 0; settingsMessage(hwnd, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_CLOSE:
      // Closing only hides: the program lives on in the tray.
      closeSettings(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_INPUT:
      rawMouse(lParam);
      rawKeyboard(lParam);
      break;
#ifdef QUILLON_TEST_BUILD
    case dropHookTestMsg:
      dropHookForTest();
      return 0;
#endif
    case trayMsg:
      trayCallback(lParam);
      return 0;
    case WM_COMMAND:
      if (applyCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
      if (trayCommand(LOWORD(wParam))) return 0;
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK settingsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handleMessage(hwnd, message, wParam, lParam);
  } catch (const std::exception& error) {
    showError(hwnd, error.what());
    return 0;
  }
}

}  // namespace quillon
