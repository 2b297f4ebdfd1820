#include "main/hook_keeper.h"

#include "main/hook_watchdog.h"
#include "main/input_hook.h"
#include "main/settings_window.h"

namespace quillon {

namespace {

constexpr UINT_PTR hookCheckTimer = 1;
// The HID usage of a keyboard: generic desktop page, keyboard.
constexpr USHORT genericDesktopPage = 1;
constexpr USHORT keyboardUsage = 6;
constexpr UINT keyboardReportSize = sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD);

HookWatchdog watchdog;
// A reinstall whose enableLayers failed: tried again until it succeeds or
// layers are switched off on purpose.
bool reinstallOwed = false;

void CALLBACK checkHook(HWND hwnd, UINT, UINT_PTR id, DWORD);

void armCheck(UINT delayMs) {
  SetTimer(window, hookCheckTimer, delayMs, checkHook);
}

// disableLayers first: the sender releases every key it holds, so a target
// pressed before the hook was lost does not stay down, and the engine starts
// clean.
void reinstallHook() {
  disableLayers();
  if (enableLayers()) return;
  reinstallOwed = true;
  armCheck(reinstallPauseMs);
}

void retryReinstall() {
  if (enableLayers()) {
    reinstallOwed = false;
    return;
  }
  armCheck(reinstallPauseMs);
}

void checkNow() {
  if (reinstallOwed) {
    retryReinstall();
    return;
  }
  switch (watchdog.check(GetTickCount(), layersEnabled())) {
    case WatchdogVerdict::idle:
      return;
    case WatchdogVerdict::recheck:
      armCheck(hookGraceMs);
      return;
    case WatchdogVerdict::reinstall:
      reinstallHook();
      return;
  }
}

void CALLBACK checkHook(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(hwnd, id);
  try {
    checkNow();
  } catch (...) {
    // Rebuilding the engine ran out of memory, maybe with the hook already
    // removed: try enableLayers again later rather than stay without layers.
    reinstallOwed = true;
    armCheck(reinstallPauseMs);
  }
}

void registerKeyboard(DWORD flags, HWND target) {
  RAWINPUTDEVICE device{};
  device.usUsagePage = genericDesktopPage;
  device.usUsage = keyboardUsage;
  device.dwFlags = flags;
  device.hwndTarget = target;
  RegisterRawInputDevices(&device, 1, sizeof(device));
}

}  // namespace

void hookSawKey(DWORD time) noexcept {
  watchdog.hookEvent(time);
}

void watchKeyboard(HWND target) {
  registerKeyboard(RIDEV_INPUTSINK, target);
}

void unwatchKeyboard() {
  reinstallOwed = false;
  registerKeyboard(RIDEV_REMOVE, nullptr);
}

void rawKeyboard(LPARAM lParam) {
  RAWINPUT report;
  UINT size = sizeof(report);
  if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &report, &size,
                      sizeof(RAWINPUTHEADER)) != keyboardReportSize) {
    return;
  }
  // Input injected by a program comes with no device; only physical keys count.
  if (report.header.dwType != RIM_TYPEKEYBOARD || report.header.hDevice == nullptr) return;
  if (watchdog.rawKeyReport(static_cast<DWORD>(GetMessageTime()))) armCheck(hookGraceMs);
}

}  // namespace quillon
