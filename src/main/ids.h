#pragma once
// The program's own window and thread messages and the main window's command
// ids, declared once.

#include <windows.h>

namespace quillon {

// Thread messages to the sender: wParam the code (sign-extended), lParam 1 down, 0 up.
inline constexpr UINT sendKeyMsg = WM_APP + 80;
// Thread message to the sender: release every key it holds down.
inline constexpr UINT releaseAllMsg = WM_APP + 81;

// The tray icon's callback; lParam carries the mouse message.
inline constexpr UINT trayMsg = WM_APP + 1;
// Posted to the settings window: wParam the capture field, lParam the key.
inline constexpr UINT keyCapturedMsg = WM_APP + 2;

#ifdef QUILLON_TEST_BUILD
// Test build only: the hook is removed behind the program's back.
inline constexpr UINT dropHookTestMsg = WM_APP + 90;
#endif

// WM_COMMAND ids of the main window.
inline constexpr WORD settingsMenuId = 103;
inline constexpr WORD exitMenuId = 104;
inline constexpr WORD startupMenuId = 105;
inline constexpr WORD aboutMenuId = 106;
inline constexpr WORD donateMenuId = 107;

// Named objects and class names.
inline constexpr const wchar_t* mutexName = L"Local\\Brannock.Quillon";
inline constexpr const wchar_t* settingsClass = L"Brannock.Quillon.Settings";
inline constexpr const wchar_t* testClass = L"Brannock.Quillon.Test";
inline constexpr const wchar_t* openMessageName = L"Brannock.Quillon.Open";
inline constexpr const wchar_t* appUserModelId = L"Brannock.Quillon";

inline constexpr int programIcon = 101;

}  // namespace quillon
